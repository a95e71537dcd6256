#pragma once
#include <QDate>
#include <QString>
#include <functional>

// A simulated farm for newcomers, screen trials and benchmarks: the farm's cycle is
// played day by day and every table is written as the data-entry, transfer and
// settings screens would have written it, up to the given current date. The same
// options (seed included) always give the same database.
namespace DemoFarm {

enum class Profile {
    Average, // commercial herd: about 25 pigs weaned per sow and year, weaning at 3 weeks
    High     // top herd: about 35 pigs weaned per sow and year, weaning at 4 weeks
};

struct Options {
    QString path;                      // the new database file; an existing file is refused
    int sows = 300;                    // mated sows the farm keeps
    int years = 3;                     // length of the history before today
    quint64 seed = 1;
    Profile profile = Profile::Average;
    QDate today;                       // last day of the history; invalid: the program's clock
    QString farmNumber = QStringLiteral("AAAA"); // 4 characters of every piglet ear tag
    QString subFarmNumber = QStringLiteral("1");  // 1 character
};

struct Summary {
    int cards = 0;     // 种猪卡 rows
    int onFarm = 0;    // of which still on the farm
    int matings = 0;   // 配种 rows
    int piglets = 0;   // 产仔记录 rows
    int pigRows = 0;   // 子猪管理 rows
};

// percent 0-100 and what is being done.
using Progress = std::function<void(int percent, const QString& stage)>;

// Limits of the options (also checked by create()).
constexpr int kMinSows = 10;
constexpr int kMaxSows = 4000; // keeps a year's litters inside the 4-digit litter number
constexpr int kMinYears = 1;
constexpr int kMaxYears = 20;

bool parseProfile(const QString& text, Profile* profile);
QString profileName(Profile profile);

// Creates the farm. False with a reason in error (the file is then not left behind).
bool create(const Options& options, QString* error = nullptr, Summary* summary = nullptr,
            const Progress& progress = Progress());

} // namespace DemoFarm
