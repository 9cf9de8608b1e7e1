#ifndef ZENTAVO_INFORMER_H
#define ZENTAVO_INFORMER_H

#include "zentavo_export.h"

#include <QMap>
#include <QObject>
#include <QPixmap>
#include <QString>
#include <QStringList>

class SingletonRegistry;

// The process-wide registry of values that an evaluation lacks or cannot compute.
// The host files each notice under a headline, which has a standard text and a red
// marker, and under a detail key below it; the details of a headline are listed for
// the user. Notices live in memory only and are never saved with an evaluation.
class ZENTAVO_EXPORT Informer : public QObject
{
    Q_OBJECT

public:
    // Headlines and detail keys. Any other value may be filed as well; it is shown
    // with a generic text that names its number.
    enum info_t : int {
        INFO_CONTRACT_DATE = 1,
        INFO_MANUFACTURE_DATE = 2,
        INFO_TOTAL_WEAR = 3,
        INFO_CONVERSION_COST = 4,
        INFO_CONVERSION_PART_PRICE = 5,
        INFO_CONVERSION_WORK_COST = 6,
        INFO_CONVERSION_REPLACED_PART_PRICE = 7,
        INFO_CONVERSION_INSTALLED_PART_WEAR = 8,
        INFO_COMPLETION_COST = 9,
        INFO_REMOVAL_COST = 10,
        INFO_PART_PRICE = 11,
        INFO_WORK_COST = 12,
        INFO_PART_WEAR = 13,
        INFO_FULL_COST = 14,
        INFO_FULL_COST_METHOD = 15,
        INFO_INITIAL_COST = 16,
        INFO_ANALOG_CURRENT_COST = 17,
        INFO_ANALOG_INITIAL_COST = 18,
        INFO_PRICE_LIST_COST = 19,
        INFO_BASE_INDEX = 20,
        INFO_PAST_DATE_COST = 21,
        INFO_SLOWDOWN_FACTOR = 22,
        INFO_ANALOG_COST = 23,
        INFO_REPAIR_COST = 25,
        INFO_COST_APPROACH = 26,
        INFO_COST_APPROACH_ANALOG = 27,
        INFO_MARKET_VALUE = 28,
        INFO_PHYSICAL_WEAR = 29,
        INFO_TYRE_REPLACEMENT_COST = 30,
        INFO_TYRE_AGE = 31,
        INFO_TYRE_COUNT = 32,
        INFO_TYRE_WEAR = 33,
        INFO_TYRE_MAX_WEAR = 34,
        INFO_BATTERY_REPLACEMENT_COST = 35,
        INFO_BATTERY_WEAR = 36,
        INFO_BATTERY_PHYSICAL_WEAR = 37,
        INFO_BATTERY_ANALOG_COST = 38,
        INFO_EXTERNAL_WEAR = 39,
        INFO_OWNERS_EXTERNAL_WEAR = 43,
        INFO_COMPARATIVE_APPROACH = 44,
        INFO_COMPARATIVE_APPROACH_ANALOG = 45,
        INFO_APPROXIMATION_METHOD = 46
    };

    // The host's own classification of a notice; stored as given, never interpreted here.
    enum status_t : int {};

    static Informer* getInstance();

    // Files a notice, replacing one already filed under the same headline and detail.
    // An empty message stands for the detail's standard text.
    void setMissing(info_t headline, info_t detail, const QString& message, status_t status);
    // Removes the headline with all its notices.
    void clearMissing(info_t headline);
    // Removes one notice, and the headline with it when that was its last notice.
    void clearMissing(info_t headline, info_t detail);

    QString& getStdMessage(info_t info, QString& out) const;
    // The texts of the headline's notices in ascending order of their detail keys.
    QStringList& getDependMessages(info_t headline, QStringList& out) const;
    // A small red square while the headline is filed, a null pixmap otherwise.
    QPixmap& getIcon(info_t headline, QPixmap& out) const;
    // Empties the list: notices are listed per headline only.
    QStringList& getAllMessages(QStringList& out) const;

signals:
    // For the host to announce changes of a notice; the library never emits it.
    void info_changed(Informer::info_t info, Informer::status_t status);

private:
    friend class SingletonRegistry;
    Informer();

    struct Notice
    {
        QString message;
        status_t status;
    };

    QMap<info_t, QMap<info_t, Notice>> missing;
    QMap<info_t, QString> messages;
};

#endif
