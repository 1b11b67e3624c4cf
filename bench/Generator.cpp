#include "Generator.h"

#include "data/Database.h"
#include "data/Schema.h"

#include <QCryptographicHash>
#include <QDate>
#include <cstdio>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace {

// Raise whenever the rows written change, so cached files are made anew.
constexpr int kVersion = 1;

constexpr std::uint64_t kTelSeed = 0x746F7672696E0001ull;
constexpr std::uint64_t kMesSeed = 0x746F7672696E0002ull;

const char* const kRareWord = "Zephyrine";
const char* const kPhoneDigits = "7391846";
constexpr int kRareWordRows = 5;
constexpr int kPhoneRows = 4;

template <size_t N> const char* pick(Generator::Rng& rng, const char* const (&list)[N])
{
    return list[rng.below(int(N))];
}

const char* const kLatinFirst[] = {
    "David",     "Michael", "Sarah",    "Rachel", "Daniel", "Yosef",   "Miriam", "John",   "Mary",     "Robert",
    "Linda",     "James",   "Patricia", "Anna",   "Thomas", "Laura",   "Peter",  "Susan",  "Paul",     "Karen",
    "Mark",      "Helen",   "George",   "Ruth",   "Eli",    "Noa",     "Adam",   "Tamar",  "Jonathan", "Rebecca",
    "Benjamin",  "Esther",  "Samuel",   "Judith", "Aaron",  "Deborah", "Simon",  "Naomi",  "Victor",   "Olga",
    "Igor",      "Elena",   "Pierre",   "Claire", "Hans",   "Greta",   "Marco",  "Giulia", "Kevin",    "Karin",
    "Katherine", "Chris",   "Leah",     "Ilan",   "Oren",   "Gil",     "Dana",   "Maya",   "Yael",     "Ariel",
    "Shlomo",    "Avigail", "Nathan",   "Zoe",    "Ofer",   "Irit",    "Hadas",  "Moshe",  "Chaim",    "Brigitte",
};

const char* const kHebrewFirst[] = {
    "דוד",  "משה",   "יוסף",  "אברהם", "יצחק",   "יעקב",  "שרה",  "רחל",   "לאה",   "רבקה",  "מרים",
    "אסתר", "נועה",  "תמר",   "יעל",   "מיכל",   "דניאל", "אורי", "איתי",  "עומר",  "גיל",   "רון",
    "שירה", "הילה",  "טל",    "אלון",  "עידו",   "נתן",   "חנה",  "רות",   "אבי",   "יונתן", "עמית",
    "ליאת", "אורית", "שמואל", "אליהו", "ציפורה", "בתיה",  "מאיר", "שושנה", "אפרים", "נחמה",  "ברוך",
};

const char* const kLatinLast[] = {
    "Cohen",    "Levi",     "Katz",     "Klein",    "Kaplan",       "Kohn",      "Kramer",    "Goldberg",  "Friedman",
    "Rosen",    "Shapiro",  "Weiss",    "Schwartz", "Stein",        "Adler",     "Becker",    "Berger",    "Brown",
    "Smith",    "Johnson",  "Williams", "Miller",   "Davis",        "Garcia",    "Martinez",  "Anderson",  "Taylor",
    "Thomas",   "Moore",    "Martin",   "Jackson",  "White",        "Harris",    "Clark",     "Lewis",     "Walker",
    "Young",    "Allen",    "King",     "Wright",   "Scott",        "Green",     "Baker",     "Nelson",    "Carter",
    "Mitchell", "Roberts",  "Turner",   "Phillips", "Campbell",     "Parker",    "Evans",     "Edwards",   "Collins",
    "Stewart",  "Morris",   "Murphy",   "Cook",     "Rogers",       "Peretz",    "Biton",     "Mizrahi",   "Avraham",
    "Kessler",  "Koenig",   "Kirsch",   "Kowalski", "Kim",          "Khan",      "Kelly",     "Kennedy",   "Knight",
    "Keller",   "Horowitz", "Rubin",    "Segal",    "Weinberg",     "Mendelson", "Lieberman", "Ashkenazi", "Dahan",
    "Ohana",    "Amsalem",  "O'Brien",  "D'Angelo", "Van der Berg", "Ben-David", "Müller",    "Øster",     "Élie",
};

const char* const kHebrewLast[] = {
    "כהן",    "לוי",     "מזרחי",   "פרץ",    "ביטון",   "דהן",      "אברהם", "פרידמן", "אגבאריה", "מלכה",
    "אזולאי", "כץ",      "יוסף",    "דוד",    "עמר",     "אוחיון",   "חדד",   "גבאי",   "בן דוד",  "שפירא",
    "קליין",  "גולדברג", "רוזנברג", "אשכנזי", "סויסה",   "בוזגלו",   "אלמוג", "שמעוני", "וקנין",   "נחום",
    "ברק",    "שלום",    "חזן",     "טל",     "גרינברג", "הרשקוביץ", "קפלן",  "קורן",   "קרמר",    "שטרן",
};

const char* const kLatinTrade[] = {
    "Plumbing", "Electric",  "Dental Clinic", "Bakery",   "Insurance", "Law Office", "Printing", "Garage",
    "Travel",   "Computers", "Furniture",     "Optics",   "Pharmacy",  "Flowers",    "Catering", "Accounting",
    "Builders", "Glass",     "Carpets",       "Bicycles", "Hardware",  "Books",      "Tailors",  "Movers",
};

const char* const kLatinSuffix[] = {"Ltd", "Inc.", "& Sons", "Co.", "Group", "Brothers", "Services", ""};

const char* const kHebrewTrade[] = {
    "אינסטלציה", "חשמל",   "מרפאת שיניים", "מאפייה",  "ביטוח",     "משרד עורכי דין", "דפוס",     "מוסך",
    "נסיעות",    "מחשבים", "רהיטים",       "אופטיקה", "בית מרקחת", "פרחים",          "קייטרינג", "הנהלת חשבונות",
};

const char* const kHebrewSuffix[] = {"בע\"מ", "ובניו", "שירותים", "ושות'", ""};

const char* const kLatinStreets[] = {
    "Herzl St",        "Main St",       "Oak Ave",     "Maple Rd",       "Ben Yehuda St", "Jabotinsky Rd",
    "Rothschild Blvd", "Allenby St",    "Weizmann St", "Dizengoff St",   "Park Ave",      "Elm St",
    "Washington Ave",  "Lincoln Rd",    "Hillel St",   "King George St", "Jaffa Rd",      "Bialik St",
    "Sokolov St",      "Ahad Ha'am St", "Broadway",    "Sunset Blvd",    "High St",       "Church Lane",
};

const char* const kHebrewStreets[] = {
    "הרצל", "בן יהודה", "ז'בוטינסקי", "שדרות רוטשילד", "אלנבי",   "ויצמן",   "דיזנגוף", "הלל",   "המלך ג'ורג'",
    "יפו",  "ביאליק",   "סוקולוב",    "אחד העם",       "הנביאים", "העצמאות", "הגפן",    "התאנה", "הזית",
};

const char* const kLatinCities[] = {
    "Tel Aviv", "Jerusalem",   "Haifa", "New York",      "Boston",      "Chicago", "London",    "Paris",
    "Toronto",  "Los Angeles", "Miami", "Rishon LeZion", "Petah Tikva", "Netanya", "Beersheba", "Ashdod",
    "Herzliya", "Ra'anana",    "Eilat", "Nazareth",      "Montréal",    "Zürich",  "Antwerp",   "Brooklyn",
};

const char* const kHebrewCities[] = {
    "תל אביב", "ירושלים", "חיפה",   "ראשון לציון", "פתח תקווה", "אשדוד",  "נתניה",   "באר שבע", "חולון",
    "בני ברק", "רמת גן",  "אשקלון", "רחובות",      "בת ים",     "הרצליה", "כפר סבא", "רעננה",   "מודיעין",
};

const char* const kStates[] = {"NY", "CA", "NJ", "FL", "IL", "MA", "TX", "PA", "WA", "OH", "MD", "ON"};

const char* const kMobilePrefixes[] = {"050", "052", "053", "054", "055", "058"};
const char* const kLinePrefixes[] = {"072", "073", "074", "076", "077", "079"};

const char* const kMessages[] = {
    "Please call back",
    "Will call again tomorrow",
    "Asked about the invoice",
    "The meeting moved to Thursday",
    "Call the office before noon",
    "Package arrived, pick up at the desk",
    "Wants to confirm the order",
    "התקשר בעניין החשבון",
    "יחזור אליך מחר בבוקר",
    "נא להתקשר בהקדם",
    "הפגישה נדחתה ליום חמישי",
    "ביקש לאשר את ההזמנה",
};

// At most `chars` characters of a UTF-8 text: the file counts characters, not bytes.
std::string leftChars(const std::string& text, int chars)
{
    size_t pos = 0;
    for (int n = 0; n < chars && pos < text.size(); ++n) {
        ++pos;
        while (pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80)
            ++pos;
    }
    return text.substr(0, pos);
}

std::string digits(Generator::Rng& rng, int count)
{
    std::string text(size_t(count), '0');
    for (auto& c : text)
        c = char('0' + rng.below(10));
    return text;
}

// "054 - 1234567" as the masked field leaves it, or the untouched mask.
std::string phone(Generator::Rng& rng, int untouchedPercent, const char* const (&prefixes)[6])
{
    if (rng.chance(untouchedPercent))
        return "___ - _______";
    std::string number = digits(rng, 7);
    while (number == kPhoneDigits)
        number = digits(rng, 7);
    return std::string(pick(rng, prefixes)) + " - " + number;
}

class Inserter
{
public:
    Inserter(sqlite3* db, const char* sql) : m_db(db) { check(sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr)); }
    ~Inserter() { sqlite3_finalize(m_stmt); }
    Inserter(const Inserter&) = delete;
    Inserter& operator=(const Inserter&) = delete;

    void run(const std::vector<std::string>& values)
    {
        for (size_t i = 0; i < values.size(); ++i)
            check(sqlite3_bind_text(m_stmt, int(i + 1), values[i].data(), int(values[i].size()), SQLITE_TRANSIENT));
        if (sqlite3_step(m_stmt) != SQLITE_DONE)
            throw DbError::fromEngine(m_db, sqlite3_errcode(m_db));
        sqlite3_reset(m_stmt);
    }

private:
    void check(int rc)
    {
        if (rc != SQLITE_OK)
            throw DbError::fromEngine(m_db, rc);
    }
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

enum Field { Category, Fname, Lname, BusName, Address, City, State, Zip, Tel1, Tel2, Pel, Fax, FieldCount };

void makeTelRow(Generator::Rng& rng, std::vector<std::string>& row)
{
    const bool business = rng.chance(50);
    const bool hebrew = rng.chance(40);
    row[Category] = business ? "Business" : "Personal";
    const bool contact = !business || rng.chance(60);
    row[Fname] = contact ? leftChars(hebrew ? pick(rng, kHebrewFirst) : pick(rng, kLatinFirst), 15) : "";
    row[Lname] = contact ? leftChars(hebrew ? pick(rng, kHebrewLast) : pick(rng, kLatinLast), 25) : "";
    if (!business) {
        row[BusName] = " ";
    } else if (hebrew) {
        std::string name = std::string(pick(rng, kHebrewTrade)) + " " + pick(rng, kHebrewLast);
        if (const char* suffix = pick(rng, kHebrewSuffix); *suffix)
            name += std::string(" ") + suffix;
        row[BusName] = leftChars(name, 30);
    } else {
        std::string name = std::string(pick(rng, kLatinLast)) + " " + pick(rng, kLatinTrade);
        if (const char* suffix = pick(rng, kLatinSuffix); *suffix)
            name += std::string(" ") + suffix;
        row[BusName] = leftChars(name, 30);
    }
    const std::string number = std::to_string(1 + rng.below(rng.chance(80) ? 120 : 999));
    if (rng.chance(8))
        row[Address] = "";
    else if (hebrew)
        row[Address] = leftChars(std::string(pick(rng, kHebrewStreets)) + " " + number, 50);
    else
        row[Address] = leftChars(number + " " + pick(rng, kLatinStreets), 50);
    row[City] = rng.chance(5) ? "" : (hebrew ? pick(rng, kHebrewCities) : pick(rng, kLatinCities));
    row[State] = rng.chance(45) ? "" : pick(rng, kStates);
    row[Zip] = rng.chance(30) ? "_____" : digits(rng, 5);
    row[Tel1] = phone(rng, 5, business ? kLinePrefixes : kMobilePrefixes);
    row[Tel2] = phone(rng, 60, kLinePrefixes);
    row[Pel] = phone(rng, 20, kMobilePrefixes);
    row[Fax] = phone(rng, business ? 40 : 90, kLinePrefixes);
}

// The rare word goes into a different field of each of its rows, once in capitals; the phone digits likewise.
void plant(int index, int telRows, std::vector<std::string>& row)
{
    for (int k = 1; k <= kRareWordRows; ++k) {
        if (index != int(qint64(telRows) * k / (kRareWordRows + 1)))
            continue;
        const std::string word = kRareWord;
        switch (k) {
        case 1:
            row[Address] = "17 " + word + " Lane";
            break;
        case 2:
            row[Category] = "Business";
            row[BusName] = word + " Glassworks";
            break;
        case 3:
            row[City] = word + " Bay";
            break;
        case 4:
            row[Address] = "הגפן 3, " + word + " Court";
            break;
        default:
            row[Category] = "Business";
            row[BusName] = "ZEPHYRINE Imports Ltd";
            break;
        }
    }
    for (int k = 1; k <= kPhoneRows; ++k) {
        // Offset by one so that no row carries both.
        if (index != int(qint64(telRows) * k / (kPhoneRows + 1)) + 1)
            continue;
        const std::string number = kPhoneDigits;
        switch (k) {
        case 1:
            row[Tel1] = "072 - " + number;
            break;
        case 2:
            row[Pel] = "054 - " + number;
            break;
        case 3:
            row[Fax] = "077 - " + number;
            break;
        default:
            row[Tel2] = "073 - " + number;
            break;
        }
    }
}

void makeMesRow(Generator::Rng& rng, const QDate& first, int days, std::vector<std::string>& row)
{
    row[0] = first.addDays(rng.below(days)).toString(Qt::ISODate).toStdString();
    const int seconds = 7 * 3600 + rng.below(13 * 3600);
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    row[1] = time;
    const bool hebrew = rng.chance(40);
    row[2] = std::string(hebrew ? pick(rng, kHebrewFirst) : pick(rng, kLatinFirst)) + " " +
             (hebrew ? pick(rng, kHebrewLast) : pick(rng, kLatinLast));
    row[3] = hebrew ? pick(rng, kHebrewFirst) : pick(rng, kLatinFirst);
    row[4] = pick(rng, kMessages);
    if (rng.chance(30))
        row[4] += ": " + std::string(pick(rng, kMobilePrefixes)) + " - " + digits(rng, 7);
}

} // namespace

Generator::Planted Generator::planted()
{
    return {QString::fromLatin1(kRareWord), QString::fromLatin1(kPhoneDigits), kRareWordRows, kPhoneRows};
}

QString Generator::stamp()
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArray::number(kVersion));
    hash.addData(Schema::createStatements().toUtf8());
    return QString::fromLatin1(hash.result().toHex());
}

void Generator::generate(const QString& path, int telRows, int mesRows)
{
    Database::create(path);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        const DbError error = DbError::fromEngine(db, SQLITE_CANTOPEN);
        sqlite3_close(db);
        throw error;
    }
    // The connection the program makes, so that whatever triggers the schema has run as they run for it.
    Database::prepareConnection(db);
    sqlite3_exec(db, "PRAGMA synchronous=OFF; PRAGMA cache_size=-262144; BEGIN", nullptr, nullptr, nullptr);
    try {
        {
            Inserter tel(db, "INSERT INTO tblTel (Category, Fname, Lname, BusName, Address, City, State, Zip, Tel1, "
                             "Tel2, Pel, Fax) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
            Rng rng(kTelSeed);
            std::vector<std::string> row(FieldCount);
            for (int i = 0; i < telRows; ++i) {
                makeTelRow(rng, row);
                plant(i, telRows, row);
                tel.run(row);
            }
        }
        {
            Inserter mes(db, "INSERT INTO tblMes (Cdate, Ctime, Meet, Avur, Hodaa) VALUES (?, ?, ?, ?, ?)");
            Rng rng(kMesSeed);
            const QDate first(2015, 1, 1);
            const int days = int(first.daysTo(QDate(2024, 12, 31))) + 1;
            std::vector<std::string> row(5);
            for (int i = 0; i < mesRows; ++i) {
                makeMesRow(rng, first, days, row);
                mes.run(row);
            }
        }
        if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
            throw DbError::fromEngine(db, sqlite3_errcode(db));
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    sqlite3_close(db);
}
