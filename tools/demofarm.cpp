#include "demofarm.h"

#include "appclock.h"
#include "entryrules.h"
#include "herdschema.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace DemoFarm {

namespace {

constexpr int kNull = INT_MIN;     // field left empty (stored as NULL)
constexpr int kNone = INT_MIN + 1; // the "none" of a never-mated card

// Small seeded generator (PCG32): the same seed gives the same farm on every library.
class Rng
{
public:
    explicit Rng(quint64 seed)
    {
        m_inc = (0xda3e39cb94b95bdbULL << 1u) | 1u;
        next();
        m_state += seed;
        next();
    }
    quint32 next()
    {
        const quint64 old = m_state;
        m_state = old * 6364136223846793005ULL + m_inc;
        const quint32 xorshifted = quint32(((old >> 18u) ^ old) >> 27u);
        const quint32 rot = quint32(old >> 59u);
        return (xorshifted >> rot) | (xorshifted << ((32 - rot) & 31));
    }
    double uniform() { return next() * (1.0 / 4294967296.0); }
    bool chance(double p) { return uniform() < p; }
    // a..b inclusive
    int range(int a, int b) { return b <= a ? a : a + int(uniform() * (b - a + 1)); }
    double normal(double mean, double sd)
    {
        double u1 = uniform();
        if (u1 < 1e-12)
            u1 = 1e-12;
        const double u2 = uniform();
        return mean + sd * std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
    }

private:
    quint64 m_state = 0;
    quint64 m_inc = 0;
};

// The published figures of a herd, by profile.
struct Figures {
    double conceive;        // a sow's service that conceives
    double giltConceive;    // a gilt's
    double abortion;        // of conceived pregnancies
    double sowDeathPerYear;
    double totalBorn, totalBornSd;
    double stillborn, mummified; // shares of total born
    double birthWeight, birthWeightSd;
    int weanMin, weanMax;   // usual weaning ages
    int nursingDays;        // 哺乳天数 the farm sets
    double weanWeightAt21;  // kg at 21 days
    double weanGainPerDay;
    double preweanDeath;    // of born alive
    int fosterCap;          // piglets a sow rears
    double ai, natural;     // mating methods (the rest assisted natural)
    double once, twice;     // services per heat (the rest three)
    double checkRecorded;   // pregnancy checks entered in the program
    int saleAgeMin, saleAgeMax;
    double saleWeight, saleWeightSd;
    double nurseryDeath, finishDeath;
};

const Figures kAverage = {0.865, 0.85, 0.008, 0.13, 14.4, 3.3, 0.075, 0.027, 1.35, 0.27, 19, 23, 21, 5.5, 0.26,
                          0.122, 14, 0.70, 0.25, 0.24, 0.51, 0.85, 160, 170, 127.0, 8.0, 0.025, 0.028};
const Figures kHigh = {0.94, 0.91, 0.006, 0.16, 20.5, 3.8, 0.08, 0.025, 1.235, 0.28, 26, 30, 28, 7.1, 0.25,
                       0.10, 16, 0.90, 0.07, 0.20, 0.55, 0.90, 150, 175, 110.0, 6.0, 0.036, 0.025};

// Relative litter size by parity 1..7+.
const double kParityLitter[8] = {1.0, 0.955, 0.99, 1.03, 1.04, 1.025, 0.975, 0.955};
// Culling at weaning by the parity just weaned (1..9+), before the herd-size factor.
const double kParityCull[10] = {0, 0.07, 0.07, 0.08, 0.10, 0.15, 0.24, 0.38, 0.6, 1.0};

const char* const kTechnicians[] = {"王建国", "李春燕", "张志强"};
const char* const kKeepers[] = {"刘秀英", "陈海峰", "赵丽娟", "孙德明"};
const char* const kVets[] = {"周文华", "吴俊"};
const char* const kColours[] = {"白", "黑", "棕红", "花"};
const char* const kMethods[] = {"人工授精", "本交", "人工辅助本交"};
const char* const kPlaces[] = {"本地市场", "屠宰场", "本场"};

enum Group { GroupLL = 0, GroupYY = 1, GroupF1 = 2, GroupNone = 3 };
enum BoarBreed { BoarDD = 0, BoarLL = 1, BoarYY = 2 };
const char* const kBoarBreedCode[] = {"DD", "LL", "YY"};

enum class Outcome { Pregnant, Return, CheckNegative, LateEmpty, Abortion };
enum Abnormal { AbnNone = 0, AbnAbortion, AbnDeath, AbnEmpty };
const char* const kAbnormal[] = {"", "流产", "死亡", "空怀"};
enum PigletStatus { Alive = 0, Stillborn, Mummy };
const char* const kPigletStatus[] = {"正常", "死亡", "木乃伊"};

// 子猪管理 codes
enum FromCode { FromNursery = 0, FromSow, FromBoar };
const char* const kFrom[] = {"保育", "F", "M"};
enum ToGroup { ToReserve = 0, ToFattening, ToDead, ToBreeding };
const char* const kToGroup[] = {"后备猪", "肥育猪", "死亡", "种猪"};
enum OutCode { OutNone = -1, OutKept = 0, OutSold, OutDied, OutCulled, OutOther };
const char* const kOut[] = {"自留", "出售", "死亡", "淘汰", "其他"};
enum PlaceCode { PlaceNone = -1, PlaceMarket = 0, PlaceAbattoir, PlaceHome };

struct Node { // one pig of the pedigree (the farm's and its suppliers')
    std::string tag;
    int sire = -1;
    int dam = -1;
};

enum class SowState { Gilt, Open, Served, Nursing };

struct Pig { // one 种猪卡 card
    int node = -1;
    char sex = 'F';
    int birth = 0;
    int entry = 0;
    bool bought = false;
    int colour = 0;
    int teatL = 7, teatR = 7;
    float birthWeight = 1.4f, weanWeight = 7.0f;
    int weanAge = 21;
    int R = kNull, W = kNull, P = kNull; // 返情日期, 断奶日期, 预产日期
    bool removed = false;
    int group = GroupNone;
    // sows
    SowState state = SowState::Gilt;
    int parity = 0;
    int fails = 0;
    bool mated = false;
    int openMating = -1;
    int epoch = 0;
    // boars
    int boarBreed = -1;
    bool active = false;
    double pref = 1.0;
    int weekKey = -1;
    int weekCount = 0;
    int waitingSince = 0;
};

struct Mating {
    int sow = 0, boar = 0;
    int d1 = 0, d2 = kNull, d3 = kNull;
    char t1 = 'A', t2 = 'P', t3 = 'P';
    int parity = 1;
    int method = 0;
    int tech = 0;
    bool returned = false;
    int due = 0;
    int abn = AbnNone;
    int abnDay = kNull;
    bool farrowed = false;
    int checkDay = kNull; // "no" while unchecked
    bool open = true;
    Outcome outcome = Outcome::Pregnant;
};

struct Litter {
    int sow = 0, mating = 0, parity = 1;
    int farrow = 0;
    int keeper = 0;
    std::string prefix; // first 13 characters of its piglets' tags
    int first = 0, count = 0;
    int plannedWean = 0;
    bool weaned = false;
    std::vector<int> nursed; // piglets this sow rears (own and fostered in)
};

struct Piglet {
    int litter = 0;
    int number = 1;
    int status = Alive;
    char sex = 'F';
    int teatL = 7, teatR = 7;
    int colour = 0;
    float birthWeight = 1.3f;
    int nurse = -1;       // litter that rears it
    int deathDay = kNull; // died before weaning
    int weanDay = kNull;
    float weanWeight = 0;
    int node = -1;        // when kept for breeding
    bool forced = false;  // kept for the gilt lists of today
};

struct PigRow { // one 子猪管理 row
    int node = -1;
    int from = FromNursery;
    int to = ToReserve;
    int toDay = kNull;
    int out = OutNone;
    int outDay = kNull;
    int place = PlaceNone;
    float price = -1, weight = -1;
};

enum EventType { EvService, EvCheck, EvReturn, EvAbort, EvEmpty, EvFarrow, EvWean, EvNurseryExit, EvSelect, EvRemove, EvBoarCull };

struct Event {
    int type;
    int a;     // pig, mating, litter or piglet
    int b = 0; // epoch or removal kind
};

class Simulation
{
public:
    Simulation(const Options& o, const Progress& progress)
        : m_opt(o), m_fig(o.profile == Profile::High ? kHigh : kAverage), m_rng(o.seed), m_progress(progress)
    {
    }

    bool run(QString* error, Summary* summary);

private:
    // --- dates
    int m_end = 0;      // today, as a day number (day 0 = today minus the years)
    int m_firstDay = 0; // first simulated day (the herd's first services lie before day 0)
    QDate m_day0;
    int m_dateBase = 0;
    std::vector<std::string> m_dates;
    std::vector<int> m_weekKey;
    std::vector<int> m_year;

    const std::string& date(int day)
    {
        return m_dates[size_t(day - m_dateBase)];
    }
    void buildCalendar();

    // --- simulation
    const Options& m_opt;
    const Figures& m_fig;
    Rng m_rng;
    Progress m_progress;

    std::vector<Node> m_nodes;
    std::vector<Pig> m_pigs;
    std::vector<Mating> m_matings;
    std::vector<Litter> m_litters;
    std::vector<Piglet> m_piglets;
    std::vector<PigRow> m_pigRows;
    std::vector<std::vector<Event>> m_events;
    std::vector<int> m_live; // cards on the farm (checked daily)
    std::vector<std::pair<std::string, int>> m_gestation; // 妊娠天数 by breed code

    int gestationDays(const std::string& tag) const
    {
        for (const auto& g : m_gestation)
            if (tag.compare(0, 2, g.first) == 0)
                return g.second;
        return EntryRules::kDefaultGestationDays;
    }

    std::vector<int> m_ancestorSires[3][4]; // by pure breed and generation
    std::vector<int> m_ancestorDams[3][4];
    int m_supplierSeq = 0;

    int m_target[3] = {0, 0, 0};      // mated sows wanted per group
    int m_mated[3] = {0, 0, 0};       // mated sows on the farm
    int m_gilts[3] = {0, 0, 0};       // carded, never-mated gilts
    int m_reserveF[3] = {0, 0, 0};    // gilts in the reserve group
    double m_giltCredit[3] = {0, 0, 0}; // gilts the reserve group may take in now
    int m_windowGilts[2] = {0, 0};
    int m_boarTarget[3] = {0, 0, 0};
    std::vector<int> m_boars[3];      // active boars by breed, in order of arrival
    std::vector<int> m_waitingBoars[3];
    int m_reserveM[3] = {0, 0, 0};
    std::vector<int> m_recentLitters; // litters of the last two days (cross-fostering)
    std::vector<int> m_litterSeq;     // per year of the calendar
    int m_yearBase = 0;

    // late animals kept at today's date so that every alert has its rows
    int m_quota[6] = {0, 0, 0, 0, 0, 0};
    enum Quota { QFarrowLate, QWeanLate, QMatingDue, QMatingLate, QGiltDue, QGiltLate };
    bool takeQuota(Quota q)
    {
        if (m_quota[q] <= 0)
            return false;
        --m_quota[q];
        return true;
    }

    void schedule(int day, int type, int a, int b = 0)
    {
        if (day > m_end)
            return; // after today: nothing happens in this history
        if (day < m_firstDay)
            day = m_firstDay;
        m_events[size_t(day - m_firstDay)].push_back({type, a, b});
    }

    int newNode(const std::string& tag, int sire, int dam)
    {
        m_nodes.push_back({tag, sire, dam});
        return int(m_nodes.size()) - 1;
    }
    std::string supplierTag(const char* breed, const char* farm, int birthDay);
    void buildAncestors();
    int founderNode(const char* breed, int birthDay);
    int pickAncestor(int breed, int gen, bool male);

    int newCard(int node, char sex, int birth, int entry, bool bought);
    void fillBoughtCard(Pig& p);
    void setupHerd();
    void buyBoar(int breed, int day);
    void activateBoar(int pig, int day);
    void replaceBoar(int breed, int day);

    int colourFor(const std::string& tag);
    int groupOf(const std::string& tag) const;
    int pickBoar(int breed, int day);
    int wsi();
    double price(int day);

    void service(int sow, int day);
    void check(int m, int day);
    void returned(int m, int day);
    void abortion(int m, int day, int kind);
    void farrow(int m, int day);
    void wean(int litter, int day);
    void finishLitter(int litter, int day, int lastDate);
    void nurseryExit(int litter, int day);
    void select(int piglet, int day, int rowIndex);
    void remove(int pig, int day, int kind);
    void dailyDeaths(int day);
    void afterOpen(int sow, int day, int heatDay, double cullChance);
    void markPregnant(Pig& p, int due)
    {
        p.R = kNull;
        p.W = kNull;
        p.P = due;
    }

    bool write(QString* error, Summary* summary);
};

void Simulation::buildCalendar()
{
    m_dateBase = m_firstDay - 6000;
    const int last = m_end + 400;
    m_dates.reserve(size_t(last - m_dateBase + 1));
    m_weekKey.reserve(m_dates.capacity());
    m_year.reserve(m_dates.capacity());
    for (int d = m_dateBase; d <= last; ++d) {
        const QDate q = m_day0.addDays(d);
        char buf[16];
        std::snprintf(buf, sizeof buf, "%04d%02d%02d", q.year(), q.month(), q.day());
        m_dates.emplace_back(buf);
        m_weekKey.push_back((q.year() * 12 + q.month()) * 4 + std::min(3, (q.day() - 1) / 7));
        m_year.push_back(q.year());
    }
    m_yearBase = m_day0.addDays(m_dateBase).year();
    m_litterSeq.assign(size_t(m_year.back() - m_yearBase + 1), 0);
}

std::string Simulation::supplierTag(const char* breed, const char* farm, int birthDay)
{
    char buf[24];
    const std::string& d = date(birthDay);
    ++m_supplierSeq;
    std::snprintf(buf, sizeof buf, "%s%s1%c%c%04d%02d", breed, farm, d[2], d[3], 1 + m_supplierSeq / 12 % 9999,
                  1 + m_supplierSeq % 12);
    return buf;
}

// A small closed population per pure breed at the suppliers: four generations of six
// boars and sixteen sows, so that the farm's founders share grandparents and the
// mating planner meets related pairs.
void Simulation::buildAncestors()
{
    static const char* const farms[3] = {"SC03", "GX01", "GX02"};
    for (int b = 0; b < 3; ++b) {
        for (int g = 0; g < 4; ++g) {
            const int born = m_firstDay - (4 - g) * 700 - 400;
            for (int i = 0; i < 6 + 16; ++i) {
                const bool male = i < 6;
                int sire = -1, dam = -1;
                if (g > 0) {
                    sire = m_ancestorSires[b][g - 1][size_t(m_rng.range(0, 5))];
                    dam = m_ancestorDams[b][g - 1][size_t(m_rng.range(0, 15))];
                }
                const int n = newNode(supplierTag(kBoarBreedCode[b], farms[b], born + m_rng.range(0, 200)), sire, dam);
                (male ? m_ancestorSires : m_ancestorDams)[b][g].push_back(n);
            }
        }
    }
}

int Simulation::pickAncestor(int breed, int gen, bool male)
{
    const auto& v = (male ? m_ancestorSires : m_ancestorDams)[breed][gen];
    return v[size_t(m_rng.range(0, int(v.size()) - 1))];
}

// A pig bought in or kept from before the program: parents from the suppliers' youngest
// generation. breed "LY" has an LL sire and a YY dam.
int Simulation::founderNode(const char* breed, int birthDay)
{
    auto pure = [](char c) { return c == 'D' ? BoarDD : c == 'L' ? BoarLL : BoarYY; };
    const int sire = pickAncestor(pure(breed[0]), 3, true);
    const int dam = pickAncestor(pure(breed[1]), 3, false);
    const char* farm = breed[0] == breed[1] ? (breed[0] == 'D' ? "SC03" : breed[0] == 'L' ? "GX01" : "GX02") : "HN05";
    return newNode(supplierTag(breed, farm, birthDay), sire, dam);
}

int Simulation::groupOf(const std::string& tag) const
{
    if (tag.compare(0, 2, "LL") == 0)
        return GroupLL;
    if (tag.compare(0, 2, "YY") == 0)
        return GroupYY;
    if (tag.compare(0, 2, "LY") == 0 || tag.compare(0, 2, "YL") == 0)
        return GroupF1;
    return GroupNone;
}

int Simulation::colourFor(const std::string& tag)
{
    if (tag.compare(0, 2, "DD") == 0)
        return 2;
    if (tag[0] == 'D') {
        const double u = m_rng.uniform();
        return u < 0.86 ? 0 : u < 0.95 ? 3 : 2;
    }
    return m_rng.chance(0.98) ? 0 : 3;
}

int Simulation::newCard(int node, char sex, int birth, int entry, bool bought)
{
    Pig p;
    p.node = node;
    p.sex = sex;
    p.birth = birth;
    p.entry = entry;
    p.bought = bought;
    p.group = sex == 'F' ? groupOf(m_nodes[size_t(node)].tag) : GroupNone;
    m_pigs.push_back(p);
    m_live.push_back(int(m_pigs.size()) - 1);
    return int(m_pigs.size()) - 1;
}

void Simulation::fillBoughtCard(Pig& p)
{
    p.colour = colourFor(m_nodes[size_t(p.node)].tag);
    p.teatL = m_rng.range(7, 8);
    p.teatR = m_rng.range(6, 8);
    p.birthWeight = float(std::max(0.9, m_rng.normal(1.45, 0.2)));
    p.weanAge = m_rng.range(21, 28);
    p.weanWeight = float(std::max(4.5, m_rng.normal(6.0 + 0.25 * (p.weanAge - 21), 0.7)));
}

void Simulation::buyBoar(int breed, int day)
{
    const int birth = day - m_rng.range(200, 260);
    const int node = founderNode(kBoarBreedCode[breed], birth);
    const int pig = newCard(node, 'M', birth, day, true);
    Pig& p = m_pigs[size_t(pig)];
    p.boarBreed = breed;
    fillBoughtCard(p);
    activateBoar(pig, day);
}

void Simulation::activateBoar(int pig, int day)
{
    Pig& p = m_pigs[size_t(pig)];
    p.active = true;
    p.pref = std::exp(m_rng.normal(0.0, 0.6));
    m_boars[p.boarBreed].push_back(pig);
    schedule(day + m_rng.range(500, 1000), EvBoarCull, pig);
}

void Simulation::replaceBoar(int breed, int day)
{
    auto& waiting = m_waitingBoars[breed];
    if (!waiting.empty()) {
        const int pig = waiting.front();
        waiting.erase(waiting.begin());
        activateBoar(pig, day);
        return;
    }
    buyBoar(breed, day);
}

// The herd on the day the farm began to keep its records: sows of every parity, some
// gilts, the boars. Their cards come from the archive screen (no state dates); each
// sow's first service lies somewhere in her cycle, so the flow is even from day 0.
void Simulation::setupHerd()
{
    const int n = m_opt.sows;
    // A breeding farm: pure Landrace and Yorkshire sows for its own replacements and
    // F1 gilts, F1 sows crossed with Duroc boars for the fattening pigs.
    m_target[GroupLL] = std::max(2, int(std::lround(n * 0.25)));
    m_target[GroupYY] = std::max(2, int(std::lround(n * 0.25)));
    m_target[GroupF1] = n - m_target[GroupLL] - m_target[GroupYY];
    const int boars = std::max(5, int(std::lround(n / 22.0)));
    m_boarTarget[BoarLL] = std::max(1, int(std::lround(boars * 0.3)));
    m_boarTarget[BoarYY] = std::max(1, int(std::lround(boars * 0.3)));
    m_boarTarget[BoarDD] = boars - m_boarTarget[BoarLL] - m_boarTarget[BoarYY];

    for (int b = 0; b < 3; ++b)
        for (int i = 0; i < m_boarTarget[b]; ++i) {
            buyBoar(b, m_firstDay);
            Pig& p = m_pigs.back();
            p.birth -= m_rng.range(0, 500);
            p.entry = p.birth + m_rng.range(200, 260);
        }

    static const double parityShare[8] = {0, 22, 18, 16, 14, 12, 10, 8};
    for (int g = 0; g < 3; ++g) {
        for (int i = 0; i < m_target[g]; ++i) {
            double u = m_rng.uniform() * 100.0;
            int parity = 1;
            while (parity < 7 && u >= parityShare[parity]) {
                u -= parityShare[parity];
                ++parity;
            }
            if (parity == 7 && m_rng.chance(0.35))
                parity = 8;
            parity -= 1; // litters before the first recorded service
            const char* breed = g == GroupLL ? "LL" : g == GroupYY ? "YY" : (m_rng.chance(0.5) ? "LY" : "YL");
            const int firstService = m_rng.range(-118, 25);
            const int birth = firstService - 232 - parity * 150 - m_rng.range(0, 20);
            const bool bought = m_rng.chance(0.4);
            const int pig = newCard(founderNode(breed, birth), 'F', birth, birth + m_rng.range(170, 200), bought);
            Pig& p = m_pigs[size_t(pig)];
            fillBoughtCard(p);
            p.parity = parity;
            p.state = parity ? SowState::Open : SowState::Gilt;
            p.mated = true;
            ++m_mated[g];
            schedule(firstService, EvService, pig, p.epoch);
        }
    }
}

int Simulation::pickBoar(int breed, int day)
{
    const int key = m_weekKey[size_t(day - m_dateBase)];
    double total = 0;
    std::vector<double> w;
    const auto& list = m_boars[breed];
    w.reserve(list.size());
    for (int b : list) {
        Pig& p = m_pigs[size_t(b)];
        if (p.weekKey != key) {
            p.weekKey = key;
            p.weekCount = 0;
        }
        double x = p.pref;
        if (p.weekCount >= 6)
            x = 0;
        else if (p.weekCount >= 3)
            x *= 0.35;
        w.push_back(x);
        total += x;
    }
    int chosen = -1;
    if (total > 0) {
        double u = m_rng.uniform() * total;
        for (size_t i = 0; i < list.size(); ++i) {
            u -= w[i];
            if (u < 0 || i + 1 == list.size()) {
                chosen = list[i];
                break;
            }
        }
    } else {
        // every boar of the breed is used up this week: the least used of the farm
        int best = INT_MAX;
        for (int br = 0; br < 3; ++br)
            for (int b : m_boars[br]) {
                Pig& p = m_pigs[size_t(b)];
                if (p.weekKey != key) {
                    p.weekKey = key;
                    p.weekCount = 0;
                }
                if (p.weekCount < best) {
                    best = p.weekCount;
                    chosen = b;
                }
            }
    }
    if (chosen >= 0)
        ++m_pigs[size_t(chosen)].weekCount;
    return chosen;
}

// Days from weaning to the first service: most sows on day 4 or 5, a tail of late
// and anoestrous sows (published distributions; the average herd a day later).
int Simulation::wsi()
{
    struct Step {
        double share; // percent
        int from, to;
    };
    static const Step average[] = {{0.8, 3, 3}, {42, 4, 4}, {34, 5, 5}, {8, 6, 6}, {4, 7, 7}, {8.5, 8, 20}, {1, 21, 25}, {1.7, 30, 45}};
    static const Step high[] = {{0.8, 3, 3}, {62, 4, 4}, {26, 5, 5}, {4, 6, 6}, {1.7, 7, 7}, {4.3, 8, 20}, {0.5, 21, 25}, {0.7, 30, 45}};
    const Step* steps = m_opt.profile == Profile::High ? high : average;
    double u = m_rng.uniform() * 100.0;
    for (int i = 0; i < 8; ++i) {
        if (u < steps[i].share || i == 7)
            return m_rng.range(steps[i].from, steps[i].to);
        u -= steps[i].share;
    }
    return 5;
}

// Live-weight price per kg: a three-year pig cycle between about 14 and 21.
double Simulation::price(int day)
{
    const double v = 17.5 + 3.0 * std::sin(6.283185307179586 * (day + 200) / 1095.0) + m_rng.normal(0, 0.4);
    return std::min(22.0, std::max(14.0, v));
}

void Simulation::service(int sow, int day)
{
    Pig& p = m_pigs[size_t(sow)];
    if (p.removed || p.state == SowState::Served || p.state == SowState::Nursing)
        return;
    int boarBreed = BoarDD;
    if (p.group == GroupLL)
        boarBreed = m_rng.chance(0.45) ? BoarLL : BoarYY;
    else if (p.group == GroupYY)
        boarBreed = m_rng.chance(0.45) ? BoarYY : BoarLL;
    Mating m;
    m.sow = sow;
    m.boar = pickBoar(boarBreed, day);
    m.d1 = day;
    m.t1 = m_rng.chance(0.7) ? 'A' : 'P';
    const double s = m_rng.uniform();
    if (s >= m_fig.once) {
        if (m.t1 == 'A' && m_rng.chance(0.4)) {
            m.d2 = day;
            m.t2 = 'P';
        } else {
            m.d2 = day + 1;
            m.t2 = m.t1 == 'A' ? 'A' : (m_rng.chance(0.5) ? 'A' : 'P');
        }
        if (s >= m_fig.once + m_fig.twice) {
            m.d3 = m.t2 == 'A' ? m.d2 : m.d2 + 1;
            m.t3 = m.t2 == 'A' ? 'P' : 'A';
        }
    }
    m.parity = p.parity + 1;
    const double u = m_rng.uniform();
    m.method = u < m_fig.ai ? 0 : u < m_fig.ai + m_fig.natural ? 1 : 2;
    m.tech = m_rng.range(0, 2);
    m.due = day + gestationDays(m_nodes[size_t(p.node)].tag);
    const int id = int(m_matings.size());

    if (!p.mated) {
        p.mated = true;
        if (p.group != GroupNone) {
            --m_gilts[p.group];
            ++m_mated[p.group];
        }
    }
    const bool gilt = p.parity == 0;
    p.state = SowState::Served;
    p.openMating = id;
    // The mating is entered with its expected date, which also marks the card pregnant.
    markPregnant(p, m.due);

    const bool conceived = m_rng.chance(gilt ? m_fig.giltConceive : m_fig.conceive);
    if (m_rng.chance(m_fig.checkRecorded))
        m.checkDay = day + m_rng.range(25, 32);
    if (conceived) {
        if (m_rng.chance(m_fig.abortion)) {
            m.outcome = Outcome::Abortion;
            schedule(day + m_rng.range(30, 100), EvAbort, id, AbnAbortion);
        } else {
            int g = int(std::lround(m_rng.normal(115.3, 1.7)));
            g = std::min(120, std::max(110, g));
            if (day + g <= m_end && m_end - m.due >= 3 && m_end - day <= 119 && takeQuota(QFarrowLate))
                g = std::min(120, m_end - day + 1 + m_rng.range(0, 1));
            schedule(day + g, EvFarrow, id);
        }
    } else if (m_end - m.due >= 3 && m_end - m.due <= 20 && takeQuota(QFarrowLate)) {
        // not in pig, and nobody has noticed yet: overdue at today's date
        m.outcome = Outcome::LateEmpty;
    } else {
        const double f = m_rng.uniform();
        if (f < 0.65) {
            m.outcome = Outcome::Return;
            schedule(day + m_rng.range(18, 24), EvReturn, id);
        } else if (f < 0.80) {
            m.outcome = Outcome::Return;
            schedule(day + m_rng.range(25, 38), EvReturn, id);
        } else if (f < 0.95) {
            m.outcome = Outcome::CheckNegative;
            if (m.checkDay == kNull)
                m.checkDay = day + m_rng.range(25, 32);
        } else {
            m.outcome = Outcome::LateEmpty; // the check, if any, missed it
            schedule(m.due + m_rng.range(3, 10), EvEmpty, id, AbnEmpty);
        }
    }
    if (m.checkDay != kNull) {
        const int c = m.checkDay;
        m.checkDay = kNull; // recorded when the check happens
        schedule(c, EvCheck, id);
    }
    m_matings.push_back(m);
}

void Simulation::check(int id, int day)
{
    Mating& m = m_matings[size_t(id)];
    if (!m.open)
        return;
    m.checkDay = day;
    if (m.outcome == Outcome::CheckNegative)
        returned(id, day);
}

// Marked 返情 "Y": the card gets the mating day, then the next heat is served or the
// sow goes after repeated failures.
void Simulation::returned(int id, int day)
{
    Mating& m = m_matings[size_t(id)];
    if (!m.open)
        return;
    m.open = false;
    m.returned = true;
    Pig& p = m_pigs[size_t(m.sow)];
    p.R = m.d1;
    p.W = kNull;
    p.P = kNull;
    p.state = SowState::Open;
    p.openMating = -1;
    ++p.fails;
    const bool atHeat = m.outcome == Outcome::Return;
    const int nextHeat = atHeat ? (m_rng.chance(0.85) ? day : day + m_rng.range(19, 23))
                                : m.d1 + 42 + m_rng.range(-2, 3);
    double cull = p.fails >= 3 ? 1.0 : p.fails == 2 ? 0.6 : 0.0;
    if (p.parity == 0 && p.fails >= 2)
        cull = 0.75;
    afterOpen(m.sow, day, nextHeat, cull);
}

void Simulation::abortion(int id, int day, int kind)
{
    Mating& m = m_matings[size_t(id)];
    if (!m.open)
        return;
    m.open = false;
    m.abn = kind;
    m.abnDay = day;
    Pig& p = m_pigs[size_t(m.sow)];
    p.state = SowState::Open;
    p.openMating = -1;
    ++p.fails;
    const int nextHeat = kind == AbnAbortion ? day + 21 + m_rng.range(-3, 7) : day + m_rng.range(0, 10);
    afterOpen(m.sow, day, nextHeat, kind == AbnAbortion ? 0.4 : 0.5);
}

// An open sow is either served at her next heat or leaves the farm.
void Simulation::afterOpen(int sow, int day, int heatDay, double cullChance)
{
    Pig& p = m_pigs[size_t(sow)];
    ++p.epoch;
    if (m_rng.chance(cullChance)) {
        schedule(day + m_rng.range(1, 14), EvRemove, sow, m_rng.chance(0.68) ? OutCulled : (m_rng.chance(0.95) ? OutSold : OutOther));
        return;
    }
    schedule(heatDay, EvService, sow, p.epoch);
}

void Simulation::farrow(int id, int day)
{
    Mating& m = m_matings[size_t(id)];
    if (!m.open)
        return;
    m.open = false;
    m.farrowed = true;
    Pig& sow = m_pigs[size_t(m.sow)];
    sow.parity = m.parity;
    sow.state = SowState::Nursing;
    sow.openMating = -1;
    sow.fails = 0;
    const std::string& sowTag = m_nodes[size_t(sow.node)].tag;
    const std::string& boarTag = m_nodes[size_t(m_pigs[size_t(m.boar)].node)].tag;

    Litter L;
    L.sow = m.sow;
    L.mating = id;
    L.parity = m.parity;
    L.farrow = day;
    L.keeper = m_rng.range(0, 3);
    const int yearIdx = m_year[size_t(day - m_dateBase)] - m_yearBase;
    const QString number = EntryRules::litterNumberText(++m_litterSeq[size_t(yearIdx)]);
    L.prefix = EntryRules::pigletTagPrefix(QString::fromStdString(boarTag), QString::fromStdString(sowTag), m_opt.farmNumber,
                                           m_opt.subFarmNumber, QString::fromStdString(date(day)), number)
                   .toStdString();
    const int pi = std::min(7, m.parity);
    int total = int(std::lround(m_rng.normal(m_fig.totalBorn * kParityLitter[pi], m_fig.totalBornSd)));
    total = std::max(1, std::min(30, total));
    L.first = int(m_piglets.size());
    L.count = total;
    const int lid = int(m_litters.size());
    const double litterEffect = m_rng.normal(0, 0.10);
    const double meanWeight = m_fig.birthWeight - (m.parity >= 5 ? 0.05 : 0.0) - 0.015 * (total - m_fig.totalBorn);
    int alive = 0;
    for (int i = 0; i < total; ++i) {
        Piglet q;
        q.litter = lid;
        q.number = i + 1;
        const double u = m_rng.uniform();
        q.status = u < m_fig.stillborn ? Stillborn : u < m_fig.stillborn + m_fig.mummified ? Mummy : Alive;
        q.sex = m_rng.chance(0.5) ? 'F' : 'M';
        q.teatL = m_rng.chance(0.2) ? 6 : m_rng.chance(0.8) ? 7 : 8;
        q.teatR = m_rng.chance(0.2) ? 6 : m_rng.chance(0.8) ? 7 : 8;
        q.colour = colourFor(L.prefix);
        if (q.status == Mummy)
            q.birthWeight = float(m_rng.range(15, 60) / 100.0);
        else
            q.birthWeight = float(std::min(2.6, std::max(0.45, m_rng.normal(meanWeight + litterEffect, m_fig.birthWeightSd))));
        if (q.status == Alive) {
            q.nurse = lid;
            L.nursed.push_back(int(m_piglets.size()));
            ++alive;
        }
        m_piglets.push_back(q);
    }
    int age = m_rng.range(m_fig.weanMin, m_fig.weanMax);
    if (m_rng.chance(0.05))
        age += m_rng.range(4, 12); // a light litter, or a sow rearing foster piglets longer
    const int nursing = m_fig.nursingDays;
    if (day + age <= m_end && m_end - day > nursing + 2 && m_end - day < nursing + 14 && takeQuota(QWeanLate))
        age = m_end - day + 1 + m_rng.range(0, 2);
    L.plannedWean = day + age;
    m_litters.push_back(std::move(L));
    Litter& lit = m_litters.back();

    // Cross-fostering within a day: piglets above what the sow can rear go to a sow that
    // farrowed yesterday or today and has room.
    std::vector<int> recent;
    for (int r : m_recentLitters)
        if (m_litters[size_t(r)].farrow >= day - 1)
            recent.push_back(r);
    m_recentLitters.swap(recent);
    int excess = int(lit.nursed.size()) - m_fig.fosterCap;
    for (size_t k = 0; excess > 0 && k < m_recentLitters.size(); ++k) {
        Litter& other = m_litters[size_t(m_recentLitters[k])];
        while (excess > 0 && int(other.nursed.size()) < m_fig.fosterCap) {
            const int moved = lit.nursed.back();
            lit.nursed.pop_back();
            m_piglets[size_t(moved)].nurse = m_recentLitters[k];
            other.nursed.push_back(moved);
            --excess;
        }
    }
    m_recentLitters.push_back(lid);

    // Deaths before weaning: over half in the first three days, lighter piglets first.
    for (int i = 0; i < total; ++i) {
        Piglet& q = m_piglets[size_t(lit.first + i)];
        if (q.status != Alive)
            continue;
        const Litter& rear = m_litters[size_t(q.nurse)];
        double risk = m_fig.preweanDeath * (q.birthWeight < 1.0 ? 2.0 : q.birthWeight < 1.2 ? 1.2 : 0.8);
        if (int(rear.nursed.size()) > m_fig.fosterCap)
            risk *= 1.3;
        if (!m_rng.chance(risk))
            continue;
        const int lastAge = std::max(1, rear.plannedWean - day - 1);
        const double v = m_rng.uniform();
        int a = v < 0.55 ? m_rng.range(0, 3) : v < 0.85 ? m_rng.range(4, 10) : m_rng.range(11, 27);
        q.deathDay = day + std::min(a, lastAge);
    }
    m.farrowed = true;
    if (alive == 0) {
        finishLitter(lid, day, day);
        return;
    }
    schedule(lit.plannedWean, EvWean, lid);
}

void Simulation::wean(int lid, int day)
{
    Litter& L = m_litters[size_t(lid)];
    if (L.weaned)
        return;
    int last = L.farrow;
    for (int idx : L.nursed) {
        Piglet& q = m_piglets[size_t(idx)];
        if (q.deathDay != kNull && q.deathDay < day)
            continue;
        q.deathDay = kNull;
        q.weanDay = day;
        const int age = day - m_litters[size_t(q.litter)].farrow;
        const double w = (m_fig.weanWeightAt21 + m_fig.weanGainPerDay * (age - 21)) * std::sqrt(q.birthWeight / m_fig.birthWeight)
                         * m_rng.normal(1.0, 0.1);
        q.weanWeight = float(std::max(2.5, w));
    }
    // The card's weaning date: the latest transfer date of her own piglets that were not
    // fostered out (the farrowing screen's rule).
    for (int i = 0; i < L.count; ++i) {
        const Piglet& q = m_piglets[size_t(L.first + i)];
        if (q.status != Alive || q.nurse != lid)
            continue;
        last = std::max(last, q.weanDay != kNull ? q.weanDay : q.deathDay);
    }
    finishLitter(lid, day, last);
    schedule(day + m_rng.range(42, 47), EvNurseryExit, lid);
}

void Simulation::finishLitter(int lid, int day, int lastDate)
{
    Litter& L = m_litters[size_t(lid)];
    L.weaned = true;
    Pig& p = m_pigs[size_t(L.sow)];
    auto asInt = [](int v) { return v == kNull || v == kNone ? 0 : v; };
    if (lastDate >= asInt(p.R) && lastDate >= asInt(p.W) && lastDate >= asInt(p.P)) {
        p.R = kNull;
        p.W = lastDate;
        p.P = kNull;
    }
    p.state = SowState::Open;
    const int parity = std::min(9, L.parity);
    double factor = 1.0 + 8.0 * (double(m_mated[p.group == GroupNone ? GroupF1 : p.group]) / std::max(1, m_target[p.group == GroupNone ? GroupF1 : p.group]) - 1.0);
    factor = std::min(3.0, std::max(0.2, factor));
    const double cull = parity >= 9 ? 1.0 : std::min(1.0, kParityCull[parity] * factor);
    int s = wsi();
    const int since = m_end - day;
    if (day + s <= m_end && since >= 3 && since <= 7 && takeQuota(QMatingDue))
        s = since + 1 + m_rng.range(0, 2);
    else if (day + s <= m_end && since >= 8 && since <= 20 && takeQuota(QMatingLate))
        s = since + 1 + m_rng.range(0, 4);
    ++p.epoch;
    if (m_rng.chance(cull)) {
        schedule(day + m_rng.range(0, 20), EvRemove, L.sow, m_rng.chance(0.66) ? OutCulled : (m_rng.chance(0.95) ? OutSold : OutOther));
        return;
    }
    schedule(day + s, EvService, L.sow, p.epoch);
}

void Simulation::nurseryExit(int lid, int day)
{
    Litter& L = m_litters[size_t(lid)];
    int giltsFromLitter = 0;
    for (int idx : L.nursed) {
        Piglet& q = m_piglets[size_t(idx)];
        if (q.weanDay == kNull)
            continue;
        const Litter& own = m_litters[size_t(q.litter)];
        char tag[16];
        std::snprintf(tag, sizeof tag, "%s%02d", own.prefix.c_str(), q.number);
        PigRow r;
        r.node = newNode(tag, m_pigs[size_t(m_matings[size_t(own.mating)].boar)].node, m_pigs[size_t(own.sow)].node);
        q.node = r.node;
        r.from = FromNursery;
        if (m_rng.chance(m_fig.nurseryDeath)) {
            r.to = ToDead;
            r.toDay = m_rng.range(q.weanDay + 1, day - 1);
            m_pigRows.push_back(r);
            continue;
        }
        r.toDay = day;
        const int group = groupOf(own.prefix);
        bool reserve = false;
        // Gilts that will be at their first-mating age today are always taken, so that
        // the gilt lists have their rows.
        const int ageToday = m_end - own.farrow;
        const int window = ageToday >= 228 && ageToday <= 232 ? 0 : ageToday >= 233 && ageToday <= 240 ? 1 : -1;
        if (q.sex == 'F' && group != GroupNone && window >= 0 && m_windowGilts[window] < 2) {
            ++m_windowGilts[window];
            q.forced = true;
        }
        if (q.sex == 'F' && group != GroupNone && (q.forced || (q.teatL >= 6 && q.teatR >= 6 && q.teatL + q.teatR >= 13))) {
            const int stock = m_mated[group] + m_gilts[group] + m_reserveF[group];
            const int wanted = m_target[group] + int(std::ceil(m_target[group] * 0.28));
            // An even flow (a few a week, at most three sisters) keeps gilts of every age;
            // a herd far below its size takes more.
            if (q.forced
                || (giltsFromLitter < 3
                    && ((m_giltCredit[group] >= 1.0 && stock < wanted + m_target[group] / 10) || stock < wanted - m_target[group] / 8))) {
                reserve = true;
                ++giltsFromLitter;
                ++m_reserveF[group];
                m_giltCredit[group] = std::max(0.0, m_giltCredit[group] - 1.0);
            }
        } else if (q.sex == 'M' && (group == GroupLL || group == GroupYY)) {
            const int b = group == GroupLL ? BoarLL : BoarYY;
            if (m_reserveM[b] + int(m_waitingBoars[b].size()) < 1 && m_rng.chance(0.3)) {
                reserve = true;
                ++m_reserveM[b];
            }
        }
        if (reserve) {
            r.to = ToReserve;
            m_pigRows.push_back(r);
            schedule(own.farrow + m_rng.range(150, 180), EvSelect, idx, int(m_pigRows.size()) - 1);
            continue;
        }
        r.to = ToFattening;
        const int sale = own.farrow + m_rng.range(m_fig.saleAgeMin, m_fig.saleAgeMax);
        if (m_rng.chance(m_fig.finishDeath)) {
            r.out = OutDied;
            r.outDay = m_rng.range(day + 1, sale - 1);
        } else {
            r.out = OutSold;
            r.outDay = sale;
            r.place = PlaceAbattoir;
            r.price = float(price(sale));
            r.weight = float(std::max(80.0, m_rng.normal(m_fig.saleWeight, m_fig.saleWeightSd)));
        }
        if (r.outDay > m_end) {
            r.out = OutNone;
            r.outDay = kNull;
            r.place = PlaceNone;
            r.price = r.weight = -1;
        }
        m_pigRows.push_back(r);
    }
}

// The reserve screen's decision at the end of the test: kept for breeding (a card with
// "none" dates and a pedigree from the parents' cards), sold, or dead.
void Simulation::select(int idx, int day, int rowIndex)
{
    Piglet& q = m_piglets[size_t(idx)];
    const Litter& own = m_litters[size_t(q.litter)];
    PigRow& r = m_pigRows[size_t(rowIndex)];
    const int group = groupOf(own.prefix);
    const bool male = q.sex == 'M';
    const int boarBreed = group == GroupLL ? BoarLL : BoarYY;
    if (male)
        --m_reserveM[boarBreed];
    else
        --m_reserveF[group];
    bool kept = m_rng.chance(male ? 0.6 : 0.85);
    if (!male && kept && m_mated[group] + m_gilts[group] > m_target[group] * 1.3)
        kept = m_rng.chance(0.5); // enough gilts: more of the group are sold
    kept = kept || q.forced;
    r.outDay = day;
    if (!kept) {
        if (m_rng.chance(0.12)) {
            r.out = OutDied;
        } else {
            r.out = OutSold;
            r.place = PlaceMarket;
            r.price = float(price(day) * 1.25);
            r.weight = float(m_rng.normal(105.0, 8.0));
        }
        return;
    }
    r.out = OutKept;
    r.place = PlaceHome;
    const int pig = newCard(q.node, q.sex, own.farrow, day, false);
    Pig& p = m_pigs[size_t(pig)];
    p.colour = q.colour;
    p.teatL = q.teatL;
    p.teatR = q.teatR;
    p.birthWeight = q.birthWeight;
    p.weanWeight = q.weanWeight;
    p.weanAge = q.weanDay - own.farrow;
    p.R = kNone;
    p.W = kNone;
    p.P = kNull;
    if (male) {
        p.boarBreed = boarBreed;
        p.waitingSince = day;
        if (int(m_boars[boarBreed].size()) < m_boarTarget[boarBreed])
            activateBoar(pig, day);
        else
            m_waitingBoars[boarBreed].push_back(pig);
        return;
    }
    ++m_gilts[group];
    p.state = SowState::Gilt;
    if (!q.forced && m_rng.chance(0.05)) { // never comes into heat
        schedule(own.farrow + m_rng.range(265, 290), EvRemove, pig, OutCulled);
        return;
    }
    int age = 218 + m_rng.range(0, 20) + (m_rng.chance(0.3) ? 21 : 0);
    const int ageToday = m_end - own.farrow;
    if (own.farrow + age <= m_end) {
        if (q.forced)
            age = ageToday + 1 + m_rng.range(0, 5);
        else if (ageToday >= 228 && ageToday <= 232 && takeQuota(QGiltDue))
            age = ageToday + 1 + m_rng.range(0, 5);
        else if (ageToday >= 233 && ageToday <= 240 && takeQuota(QGiltLate))
            age = ageToday + 1 + m_rng.range(0, 5);
    }
    schedule(own.farrow + age, EvService, pig, p.epoch);
}

void Simulation::remove(int pig, int day, int kind)
{
    Pig& p = m_pigs[size_t(pig)];
    if (p.removed)
        return;
    if (p.sex == 'F' && p.state == SowState::Nursing)
        return; // never leaves with a litter at foot
    p.removed = true;
    p.active = false;
    PigRow r;
    r.node = p.node;
    r.from = p.sex == 'F' ? FromSow : FromBoar;
    r.to = ToBreeding;
    r.out = kind;
    r.outDay = day;
    if (kind == OutSold) {
        r.place = PlaceAbattoir;
        r.weight = float(p.sex == 'F' ? m_rng.normal(235.0, 20.0) : m_rng.normal(290.0, 25.0));
        r.price = float(price(day) * (p.sex == 'F' ? 0.72 : 0.6));
    }
    m_pigRows.push_back(r);
    if (p.sex == 'F') {
        if (p.openMating >= 0) { // died pregnant
            Mating& m = m_matings[size_t(p.openMating)];
            m.open = false;
            m.abn = AbnDeath;
            m.abnDay = day;
            p.openMating = -1;
        }
        if (p.group != GroupNone)
            --(p.mated ? m_mated : m_gilts)[p.group];
        return;
    }
    auto& team = m_boars[p.boarBreed];
    const auto it = std::find(team.begin(), team.end(), pig);
    if (it != team.end()) {
        team.erase(it);
        replaceBoar(p.boarBreed, day);
    } else {
        auto& waiting = m_waitingBoars[p.boarBreed];
        waiting.erase(std::remove(waiting.begin(), waiting.end(), pig), waiting.end());
    }
}

void Simulation::dailyDeaths(int day)
{
    const double sowRisk = m_fig.sowDeathPerYear / 365.0;
    size_t keep = 0;
    for (size_t i = 0; i < m_live.size(); ++i) {
        const int pig = m_live[i];
        Pig& p = m_pigs[size_t(pig)];
        if (p.removed)
            continue;
        m_live[keep++] = pig;
        if (p.sex == 'M') {
            if (m_rng.chance(0.05 / 365.0))
                remove(pig, day, OutDied);
            else if (!p.active && day - p.waitingSince > 150) // spare young boar goes to another farm
                remove(pig, day, OutSold);
            continue;
        }
        if (p.state == SowState::Nursing)
            continue;
        if (m_rng.chance(p.mated ? sowRisk : 0.03 / 365.0))
            remove(pig, day, OutDied);
    }
    m_live.resize(keep);
}

bool Simulation::run(QString* error, Summary* summary)
{
    m_day0 = m_opt.today.addYears(-m_opt.years);
    m_end = int(m_day0.daysTo(m_opt.today));
    m_firstDay = -130;
    buildCalendar();
    m_events.assign(size_t(m_end - m_firstDay + 1), {});
    const int q = std::max(1, m_opt.sows / 150);
    for (int& x : m_quota)
        x = q;

    // The new farm's file first: its physiology gives the expected farrowing dates, as
    // the mating screen reads them.
    if (!HerdSchema::createHerdDatabase(m_opt.path, error))
        return false;
    {
        sqlite3* db = nullptr;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_open_v2(m_opt.path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK
            && sqlite3_prepare_v2(db, "select 品种, 妊娠天数 from 生理周期", -1, &st, nullptr) == SQLITE_OK)
            while (sqlite3_step(st) == SQLITE_ROW) {
                const char* breed = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
                const int days = sqlite3_column_int(st, 1);
                if (breed && std::strlen(breed) == 2 && days > 0)
                    m_gestation.emplace_back(std::string(breed), days);
            }
        sqlite3_finalize(st);
        sqlite3_close(db);
    }

    buildAncestors();
    setupHerd();

    int lastPercent = -1;
    for (int day = m_firstDay; day <= m_end; ++day) {
        auto& bucket = m_events[size_t(day - m_firstDay)];
        for (size_t i = 0; i < bucket.size(); ++i) { // events may add more for the same day
            const Event e = bucket[i];
            switch (e.type) {
            case EvService:
                if (m_pigs[size_t(e.a)].epoch == e.b)
                    service(e.a, day);
                break;
            case EvCheck:
                check(e.a, day);
                break;
            case EvReturn:
                returned(e.a, day);
                break;
            case EvAbort:
            case EvEmpty:
                abortion(e.a, day, e.b);
                break;
            case EvFarrow:
                farrow(e.a, day);
                break;
            case EvWean:
                wean(e.a, day);
                break;
            case EvNurseryExit:
                nurseryExit(e.a, day);
                break;
            case EvSelect:
                select(e.a, day, e.b);
                break;
            case EvRemove:
                remove(e.a, day, e.b);
                break;
            case EvBoarCull:
                if (m_pigs[size_t(e.a)].active)
                    remove(e.a, day, m_rng.chance(0.6) ? OutCulled : OutSold);
                break;
            }
        }
        std::vector<Event>().swap(bucket);
        dailyDeaths(day);
        for (int g = 0; g < 3; ++g) // about the yearly replacement, before selection losses
            m_giltCredit[g] = std::min(4.0, m_giltCredit[g] + m_target[g] * 0.68 / 365.0);
        const int percent = int(60.0 * (day - m_firstDay) / std::max(1, m_end - m_firstDay));
        if (m_progress && percent != lastPercent) {
            lastPercent = percent;
            m_progress(percent, QStringLiteral("模拟猪场生产"));
        }
    }
    return write(error, summary);
}

// ---------------------------------------------------------------- writing

class Statement
{
public:
    Statement(sqlite3* db, const std::string& sql)
    {
        m_ok = sqlite3_prepare_v2(db, sql.c_str(), -1, &m_stmt, nullptr) == SQLITE_OK;
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    bool ok() const { return m_ok; }
    // Texts must live until step(); empty pointer or text stores NULL.
    void text(int i, const std::string& v) { bindText(i, v.c_str(), int(v.size())); }
    void text(int i, const char* v) { bindText(i, v, v ? int(std::strlen(v)) : 0); }
    void copy(int i, const std::string& v)
    {
        if (v.empty())
            sqlite3_bind_null(m_stmt, i);
        else
            sqlite3_bind_text(m_stmt, i, v.c_str(), int(v.size()), SQLITE_TRANSIENT);
    }
    void null(int i) { sqlite3_bind_null(m_stmt, i); }
    bool step()
    {
        const int rc = sqlite3_step(m_stmt);
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
        return rc == SQLITE_DONE;
    }

private:
    void bindText(int i, const char* v, int n)
    {
        if (!v || n == 0)
            sqlite3_bind_null(m_stmt, i);
        else
            sqlite3_bind_text(m_stmt, i, v, n, SQLITE_STATIC);
    }
    sqlite3_stmt* m_stmt = nullptr;
    bool m_ok = false;
};

std::string insertSql(const char* table, const QStringList& columns)
{
    QStringList names, marks;
    for (const QString& c : columns) {
        names << QLatin1Char('"') + c + QLatin1Char('"');
        marks << QStringLiteral("?");
    }
    return QStringLiteral("insert into \"%1\" (%2) values (%3)")
        .arg(QString::fromUtf8(table), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')))
        .toStdString();
}

QStringList columnsWithout(const char* table, const char* skip)
{
    QStringList c = HerdSchema::table(QString::fromUtf8(table))->columns;
    if (skip)
        c.removeAll(QString::fromUtf8(skip));
    return c;
}

std::string num(int v)
{
    return std::to_string(v);
}

std::string fixed(double v, int decimals)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

bool exec(sqlite3* db, const char* sql, QString* error)
{
    char* err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        if (error)
            *error = QString::fromUtf8(err ? err : "?");
        sqlite3_free(err);
        return false;
    }
    return true;
}

bool Simulation::write(QString* error, Summary* summary)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(m_opt.path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        if (error)
            *error = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        return false;
    }
    bool ok = exec(db, "pragma synchronous=off", error) && exec(db, "pragma cache_size=-200000", error)
              && exec(db, "begin", error);
    auto fail = [&](const char* what) {
        if (ok && error)
            *error = QStringLiteral("%1: %2").arg(QString::fromUtf8(what), QString::fromUtf8(sqlite3_errmsg(db)));
        ok = false;
    };
    auto step = [&](Statement& s, const char* what) {
        if (ok && !s.step())
            fail(what);
    };
    auto report = [&](int percent, const char* stage) {
        if (m_progress)
            m_progress(percent, QString::fromUtf8(stage));
    };

    // The farm's settings: pick lists and the physiology its breeds follow.
    if (ok) {
        Statement tech(db, "insert into 配种员表 (姓名) values (?)");
        Statement keeper(db, "insert into 饲养员表 (姓名) values (?)");
        Statement vet(db, "insert into 兽医表 (姓名) values (?)");
        for (const char* n : kTechnicians) {
            tech.text(1, n);
            step(tech, "配种员表");
        }
        for (const char* n : kKeepers) {
            keeper.text(1, n);
            step(keeper, "饲养员表");
        }
        for (const char* n : kVets) {
            vet.text(1, n);
            step(vet, "兽医表");
        }
        const std::string nursing = num(m_fig.nursingDays);
        const std::string physiology = "update 生理周期 set 哺乳天数='" + nursing + "', 断奶后发情天数='5'";
        const bool high = m_opt.profile == Profile::High;
        const std::string targets = "update 生产目标 set 基础母猪数='" + num(m_opt.sows) + "', 产仔率='" + (high ? "89" : "83")
                                    + "', \"活仔数/窝\"='" + (high ? "18.5" : "13") + "', 断奶日龄='" + nursing + "', 断奶重='"
                                    + (high ? "7.1" : "5.5") + "', 公猪总数='"
                                    + num(m_boarTarget[0] + m_boarTarget[1] + m_boarTarget[2]) + "', 后备母猪数='"
                                    + num(int(m_opt.sows * 0.2)) + "' where 品种='所有品种'";
        if (!exec(db, physiology.c_str(), error) || !exec(db, targets.c_str(), error))
            ok = false;
    }
    report(62, "写入种猪卡");

    // 种猪卡
    if (ok) {
        Statement s(db, insertSql("种猪卡", columnsWithout("种猪卡", nullptr)));
        if (!s.ok())
            fail("种猪卡");
        static const char* const sources[] = {"本场", "外购"};
        for (size_t i = 0; ok && i < m_pigs.size(); ++i) {
            const Pig& p = m_pigs[i];
            const Node& n = m_nodes[size_t(p.node)];
            const char sex[2] = {p.sex, 0};
            s.text(1, n.tag);
            s.text(2, sex);
            s.text(3, kColours[p.colour]);
            s.text(4, sources[p.bought ? 1 : 0]);
            s.text(5, date(p.entry));
            s.copy(6, num(p.teatL));
            s.copy(7, num(p.teatR));
            s.text(8, date(p.birth));
            s.copy(9, fixed(p.birthWeight, 2));
            s.copy(10, fixed(p.weanWeight, 2));
            s.copy(11, num(p.weanAge));
            // pedigree: sire, dam, then by path
            const int sire = n.sire, dam = n.dam;
            auto sireOf = [&](int x) { return x < 0 ? -1 : m_nodes[size_t(x)].sire; };
            auto damOf = [&](int x) { return x < 0 ? -1 : m_nodes[size_t(x)].dam; };
            const int ped[14] = {sire, dam, sireOf(sire), damOf(sire), sireOf(dam), damOf(dam),
                                 sireOf(sireOf(sire)), damOf(sireOf(sire)), sireOf(damOf(sire)), damOf(damOf(sire)),
                                 sireOf(sireOf(dam)), damOf(sireOf(dam)), sireOf(damOf(dam)), damOf(damOf(dam))};
            for (int k = 0; k < 14; ++k) {
                if (ped[k] < 0)
                    s.null(12 + k);
                else
                    s.text(12 + k, m_nodes[size_t(ped[k])].tag);
            }
            const int state[3] = {p.R, p.W, p.P};
            for (int k = 0; k < 3; ++k) {
                if (state[k] == kNull)
                    s.null(26 + k);
                else if (state[k] == kNone)
                    s.text(26 + k, "none");
                else
                    s.text(26 + k, date(state[k]));
            }
            s.text(29, p.removed ? "yes" : "no");
            s.null(30);
            step(s, "种猪卡");
        }
    }
    report(66, "写入配种记录");

    // 配种, in the order the matings were entered (id grows with each)
    if (ok) {
        Statement s(db, insertSql("配种", columnsWithout("配种", "id")));
        if (!s.ok())
            fail("配种");
        for (size_t i = 0; ok && i < m_matings.size(); ++i) {
            const Mating& m = m_matings[i];
            const std::string& sow = m_nodes[size_t(m_pigs[size_t(m.sow)].node)].tag;
            const std::string& boar = m_nodes[size_t(m_pigs[size_t(m.boar)].node)].tag;
            const std::string t1 = date(m.d1) + m.t1;
            // services planned after today have not happened yet
            const std::string t2 = m.d2 == kNull || m.d2 > m_end ? std::string() : date(m.d2) + m.t2;
            const std::string note = m.d3 == kNull || m.d3 > m_end ? std::string() : "第三次配种 " + date(m.d3) + m.t3;
            s.text(1, sow);
            s.copy(2, sow.substr(0, 2));
            s.text(3, boar);
            s.copy(4, boar.substr(0, 2));
            s.text(5, t1);
            s.text(6, t2);
            s.copy(7, num(m.parity));
            s.text(8, kMethods[m.method]);
            s.text(9, m.returned ? "Y" : "N");
            if (m.returned)
                s.null(10);
            else
                s.text(10, date(m.due));
            s.text(11, kTechnicians[m.tech]);
            s.text(12, kAbnormal[m.abn]);
            if (m.abnDay == kNull)
                s.null(13);
            else
                s.text(13, date(m.abnDay));
            s.text(14, note);
            s.text(15, m.farrowed ? "yes" : "no");
            if (m.checkDay == kNull)
                s.text(16, "no");
            else
                s.text(16, date(m.checkDay));
            step(s, "配种");
        }
    }
    report(70, "写入产仔记录");

    // 产仔记录, one row per piglet
    if (ok) {
        Statement s(db, insertSql("产仔记录", columnsWithout("产仔记录", nullptr)));
        if (!s.ok())
            fail("产仔记录");
        for (size_t li = 0; ok && li < m_litters.size(); ++li) {
            const Litter& L = m_litters[li];
            const Mating& m = m_matings[size_t(L.mating)];
            const std::string& sow = m_nodes[size_t(m_pigs[size_t(L.sow)].node)].tag;
            const std::string& boar = m_nodes[size_t(m_pigs[size_t(m.boar)].node)].tag;
            const std::string sowBreed = sow.substr(0, 2), boarBreed = boar.substr(0, 2);
            const std::string parity = num(L.parity);
            const std::string gestation = num(L.farrow - m.d1);
            for (int i = 0; ok && i < L.count; ++i) {
                const Piglet& q = m_piglets[size_t(L.first + i)];
                char tag[16];
                std::snprintf(tag, sizeof tag, "%s%02d", L.prefix.c_str(), q.number);
                const char sex[2] = {q.sex, 0};
                s.text(1, sow);
                s.text(2, sowBreed);
                s.text(3, parity);
                s.text(4, boar);
                s.text(5, boarBreed);
                s.text(6, kMethods[m.method]);
                s.text(7, date(m.d1));
                s.text(8, date(m.due));
                s.text(9, date(L.farrow));
                s.text(10, gestation);
                s.text(11, kKeepers[L.keeper]);
                s.text(12, tag);
                s.text(13, kPigletStatus[q.status]);
                if (q.status == Mummy) {
                    for (int k = 14; k <= 17; ++k)
                        s.null(k);
                } else {
                    s.text(14, sex);
                    s.copy(15, num(q.teatL));
                    s.copy(16, num(q.teatR));
                    s.text(17, kColours[q.colour]);
                }
                s.copy(18, fixed(q.birthWeight, 2));
                int moved = kNull;
                const char* where = nullptr;
                if (q.status != Alive) {
                    moved = L.farrow;
                    where = "死亡";
                } else if (q.weanDay != kNull) {
                    moved = q.weanDay;
                    where = "保育";
                    const int age = q.weanDay - L.farrow;
                    // corrected from the weight as typed, two decimals
                    const std::string weight = fixed(q.weanWeight, 2);
                    const EntryRules::CorrectedWeights cw = EntryRules::correctedWeights(std::atof(weight.c_str()), age);
                    s.copy(19, num(age));
                    s.copy(20, weight);
                    s.copy(21, cw.day20.toStdString());
                    s.copy(22, cw.day28.toStdString());
                } else if (q.deathDay != kNull && q.deathDay <= m_end) {
                    moved = q.deathDay;
                    where = "死亡";
                }
                s.text(23, where);
                if (moved == kNull)
                    s.null(24);
                else
                    s.text(24, date(moved));
                const bool fostered = q.status == Alive && q.nurse != int(li);
                s.text(25, fostered ? "寄出" : "正常");
                if (fostered)
                    s.text(26, m_nodes[size_t(m_pigs[size_t(m_litters[size_t(q.nurse)].sow)].node)].tag);
                else
                    s.null(26);
                s.null(27);
                step(s, "产仔记录");
            }
            if ((li & 4095) == 0)
                report(70 + int(18.0 * li / std::max<size_t>(1, m_litters.size())), "写入产仔记录");
        }
    }
    report(88, "写入转群记录");

    // 子猪管理
    if (ok) {
        Statement s(db, insertSql("子猪管理", columnsWithout("子猪管理", nullptr)));
        if (!s.ok())
            fail("子猪管理");
        for (size_t i = 0; ok && i < m_pigRows.size(); ++i) {
            const PigRow& r = m_pigRows[i];
            s.text(1, m_nodes[size_t(r.node)].tag);
            s.text(2, kFrom[r.from]);
            s.text(3, kToGroup[r.to]);
            if (r.toDay == kNull)
                s.null(4);
            else
                s.text(4, date(r.toDay));
            if (r.out == OutNone || r.outDay > m_end) {
                for (int k = 5; k <= 9; ++k)
                    s.null(k);
            } else {
                s.text(5, kOut[r.out]);
                s.text(6, date(r.outDay));
                if (r.place == PlaceNone)
                    s.null(7);
                else
                    s.text(7, kPlaces[r.place]);
                if (r.price < 0)
                    s.null(8);
                else
                    s.copy(8, fixed(r.price, 2));
                if (r.weight < 0)
                    s.null(9);
                else
                    s.copy(9, fixed(r.weight, 1));
            }
            step(s, "子猪管理");
        }
    }
    report(96, "整理数据库");
    if (ok)
        ok = exec(db, "commit", error) && exec(db, "analyze", error);
    else
        exec(db, "rollback", nullptr);
    sqlite3_close(db);
    if (!ok) {
        QFile::remove(m_opt.path);
        QFile::remove(m_opt.path + QStringLiteral("-wal"));
        QFile::remove(m_opt.path + QStringLiteral("-shm"));
        return false;
    }
    if (summary) {
        summary->cards = int(m_pigs.size());
        summary->onFarm = int(std::count_if(m_pigs.begin(), m_pigs.end(), [](const Pig& p) { return !p.removed; }));
        summary->matings = int(m_matings.size());
        summary->piglets = int(m_piglets.size());
        summary->pigRows = int(m_pigRows.size());
    }
    report(100, "完成");
    return true;
}

} // namespace

bool parseProfile(const QString& text, Profile* profile)
{
    if (text == QLatin1String("average"))
        *profile = Profile::Average;
    else if (text == QLatin1String("high"))
        *profile = Profile::High;
    else
        return false;
    return true;
}

QString profileName(Profile profile)
{
    return profile == Profile::High ? QStringLiteral("high") : QStringLiteral("average");
}

bool create(const Options& options, QString* error, Summary* summary, const Progress& progress)
{
    auto refuse = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (options.sows < kMinSows || options.sows > kMaxSows)
        return refuse(QStringLiteral("母猪头数应在 %1 到 %2 之间").arg(kMinSows).arg(kMaxSows));
    if (options.years < kMinYears || options.years > kMaxYears)
        return refuse(QStringLiteral("年数应在 %1 到 %2 之间").arg(kMinYears).arg(kMaxYears));
    // Piglet ear tags must come out at 15 characters.
    const auto ascii = [](const QString& s) {
        for (QChar c : s)
            if (c.unicode() < 0x21 || c.unicode() > 0x7e)
                return false;
        return true;
    };
    if (options.farmNumber.size() != 4 || options.subFarmNumber.size() != 1 || !ascii(options.farmNumber)
        || !ascii(options.subFarmNumber))
        return refuse(QStringLiteral("猪场编号须为4位、分场号须为1位字母或数字"));
    if (QFile::exists(options.path))
        return refuse(QStringLiteral("文件已存在: %1").arg(options.path));
    Options o = options;
    if (!o.today.isValid())
        o.today = AppClock::today();
    // The farm is built in a file beside PATH and moved into place only when complete,
    // so a run that is killed half-way leaves no empty farm at PATH.
    const QString partial = options.path + QStringLiteral(".part");
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")})
        QFile::remove(partial + suffix); // left by a run that was killed
    o.path = partial;
    Simulation sim(o, progress);
    if (!sim.run(error, summary))
        return false;
    // link() refuses an existing name, so a file that appeared meanwhile is never replaced.
    const QByteArray from = QFile::encodeName(partial);
    const QByteArray to = QFile::encodeName(options.path);
    const bool walLeft = QFileInfo(partial + QStringLiteral("-wal")).size() > 0;
    if (walLeft || ::link(from.constData(), to.constData()) != 0) {
        QFile::remove(partial);
        return refuse(walLeft ? QStringLiteral("数据库没有写完: %1").arg(partial)
                              : QStringLiteral("不能建立文件 %1: %2").arg(options.path, QString::fromLocal8Bit(std::strerror(errno))));
    }
    ::unlink(from.constData());
    QFile::remove(partial + QStringLiteral("-shm"));
    return true;
}

} // namespace DemoFarm
