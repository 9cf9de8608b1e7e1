#ifndef ZENTAVO_TOOL_TYPEDINPUT_H
#define ZENTAVO_TOOL_TYPEDINPUT_H

#include <QString>

// Numbers and dates as people type them, turned into the one form an evaluation stores.
// A number may have a decimal comma or point, spaces or no-break spaces between groups of
// three digits and a leading minus (also the typographic one): "1 090 000", "27,5",
// "−3,5" become "1090000", "27.5", "-3.5". A date may be d.M.yyyy or yyyy-MM-dd and
// becomes dd.MM.yyyy. Anything else is not taken for a number or a date.
class TypedInput
{
public:
    static bool number(const QString& typed, QString& stored);
    static bool date(const QString& typed, QString& stored);
};

#endif
