#ifndef ZENTAVO_TAGUTILS_H
#define ZENTAVO_TAGUTILS_H

#include "zentavo_export.h"

#include "values/money.h"
#include "values/real.h"
#include "values/tagtypes.h"

#include <QByteArray>
#include <QDate>
#include <QString>

// How typed values are written into tag text and read back, how report flags shape
// a value, how one tag becomes a line of the evaluation's tag list, and how
// indexed names and party role suffixes are built. Stateless.
class ZENTAVO_EXPORT TagUtils
{
public:
    // Text -> value. ok, when not null, receives success. Reals read the C locale's
    // point first, then the user's (files of older versions).
    static int parseInt(const QString& s, bool* ok);
    static bool parseBool(const QString& s, bool* ok);
    static QDate& parseDate(const QString& s, bool* ok, QDate& out);
    static Money& parseMoney(const QString& s, bool* ok, Money& out);
    static Real& parseReal(const QString& s, bool* ok, Real& out);

    // Value -> text; each fills out and returns it. Null values give a null string.
    static QString& processInt(int v, QString& out);
    static QString& processBool(bool v, QString& out);
    static QString& processDate(const QDate& d, QString& out);
    static QString& processFlagYEAR(const QDate& d, QString& out);
    static QString& processMoney(const Money& m, QString& out);
    // Report text in the user's locale; tags take Real::toString(out, false).
    static QString& processReal(const Real& r, QString& out);
    static QString& processFlagSHORT(QString& s);
    static QString& processFlagABBREVIATION(QString& s);
    static QString& processFlagSUMM_IN_WORDS(const Money& m, QString& out);
    static QString& condProcessFlagDATE(tagflag_t flags, const QDate& d, QString& out);
    static QString& condProcessFlagMONEY(tagflag_t flags, const Money& m, QString& out);
    static QString& toXmlValue(QString& s);
    // The reverse of toXmlValue: text as its reader sees it.
    static QString& fromXmlValue(QString& s);
    // XML 1.0 holds no control characters but tab, line feed and carriage return, and
    // neither U+FFFE nor U+FFFF; a word processor refuses a document part with one.
    static QString& dropNonXmlCharacters(QString& s);
    static qsizetype nonXmlCharacterCount(QStringView s);

    // One tag as one UTF-8 line "NAME=value\n" of the tag list. Backslashes, line
    // feeds and carriage returns in the value are escaped in place (the caller's
    // string changes), so a value can never break the line.
    static QByteArray& mkTagLine(const QString& name, QString& value, QByteArray& out);
    static QByteArray& mkTagLine(const QString& name, int v, QByteArray& out);
    static QByteArray& mkTagLine(const QString& name, bool v, QByteArray& out);
    static QByteArray& mkTagLine(const QString& name, const Real& v, QByteArray& out);
    static QByteArray& mkTagLine(const QString& name, const Money& v, QByteArray& out);
    static QByteArray& mkTagLine(const QString& name, const QDate& v, QByteArray& out);
    // Undoes the escaping of mkTagLine in one pass from left to right: backslash-n,
    // backslash-r and a doubled backslash become a line feed, a carriage return and one
    // backslash; any other backslash stays as it is.
    static QString& unescapeTagValue(QString& value);

    // NAME_3 from NAME and 3, and back. extractIndex leaves i and base untouched
    // when the name has no numeric suffix.
    static QString& appendIndex(const QString& name, int i, QString& out);
    static bool extractIndex(const QString& tag, int& i, QString& base);
    // appendIndex for positions of 0 and above; NoIndex (or any negative) keeps the name.
    static QString& appendIndexIfAny(const QString& name, int i, QString& out);
    static constexpr int NoIndex = -1;

    // The tag name suffix of a party: _ЗАКАЗЧИКА_ЮЛ, _СОБСТВЕННИКА_ФЛ, _ИП_ОЦЕН_КОМП.
    static QString& mkRole(customertype_t type, customerrole_t role, QString& out);

    // The bit of one flag letter ("!", S, Y, A, R, L, P, T, H, M; any case), 0 for others.
    static tagflag_t flagForLetter(QChar letter);

    static const QString& dateFormat();
};

#endif
