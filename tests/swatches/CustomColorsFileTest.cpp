#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <thread>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "SaveGenerations.h"
#include "swatches/CustomColors.h"
#include "swatches/CustomColorsStore.h"

using swatches::CustomColorArray;
using swatches::FormatCustomColors;
using swatches::ParseCustomColors;

namespace {

constexpr int32_t Min32 = std::numeric_limits<int32_t>::min();
constexpr int32_t Max32 = std::numeric_limits<int32_t>::max();

QByteArray Repeat(const char* line, int times)
{
    QByteArray out;
    for (int i = 0; i < times; ++i)
        out += line;
    return out;
}

QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

CustomColorArray WithValues(std::initializer_list<std::pair<int, int32_t>> values)
{
    CustomColorArray a{};
    for (auto [i, v] : values)
        a[size_t(i)] = v;
    return a;
}

// The value line n of a file reads as, all other lines being valid.
int32_t LineValue(const QByteArray& line)
{
    return ParseCustomColors(" 1 \r\n" + line + "\r\n 2 \r\n")[1];
}

struct HelperRun {
    int exitCode = -1;
    QByteArray out;
};

HelperRun RunHelper(const QStringList& prefix, const QStringList& args,
              const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    QStringList all = prefix;
    all << QStringLiteral(CUSTOM_COLORS_HELPER) << args;
    p.start(all.takeFirst(), all);
    if (!p.waitForStarted(10000) || !p.waitForFinished(60000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput()};
}

// How to run the helper as a user that file permissions stop: as we are
// when we are not root; as nobody through setpriv or runuser when we are.
std::optional<QStringList> UnprivilegedPrefix()
{
    static const std::optional<QStringList> prefix = []() -> std::optional<QStringList> {
        if (::geteuid() != 0)
            return QStringList{};
        const QStringList candidates[] = {
            {QStringLiteral("setpriv"), QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
             QStringLiteral("--clear-groups")},
            {QStringLiteral("runuser"), QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--")},
        };
        for (const QStringList& c : candidates) {
            const HelperRun r = RunHelper(c, {QStringLiteral("uid")});
            const QByteArray uid = r.out.trimmed();
            if (r.exitCode == 0 && !uid.isEmpty() && uid != "0")
                return c;
        }
        return std::nullopt;
    }();
    return prefix;
}

// A program folder and a user data folder, each writable by the helper's
// user or not. Root's permissions are put back at the end so the
// temporary folder can be removed.
class Folders {
public:
    Folders(bool programWritable, bool dataWritable)
    {
        base = dir.path();
        program = base + QStringLiteral("/program");
        data = base + QStringLiteral("/data");
        QDir().mkpath(program);
        QDir().mkpath(data + QStringLiteral("/Tinctara"));
        ::chmod(QFile::encodeName(base).constData(), 0755);
        mode_[0] = programWritable ? 0755 : 0555;
        mode_[1] = dataWritable ? 0755 : 0555;
    }
    // Call once the files to start with are in place. The folders become
    // the helper's own: one that others may write is not used.
    void Lock()
    {
        for (const QString& d : {program, data, data + QStringLiteral("/Tinctara")})
            if (::geteuid() == 0 && ::chown(QFile::encodeName(d).constData(), 65534, 65534) != 0)
                ADD_FAILURE() << "cannot hand " << d.toStdString() << " to nobody";
        ::chmod(QFile::encodeName(program).constData(), mode_[0]);
        ::chmod(QFile::encodeName(data + QStringLiteral("/Tinctara")).constData(), mode_[1]);
        ::chmod(QFile::encodeName(data).constData(), mode_[1]);
    }
    ~Folders()
    {
        for (const QString& d : {program, data, data + QStringLiteral("/Tinctara")})
            ::chmod(QFile::encodeName(d).constData(), 0755);
    }
    QProcessEnvironment Env() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), data);
        return env;
    }
    QString ProgramFile() const { return program + QStringLiteral("/usercolors.cps"); }
    QString DataFile() const { return data + QStringLiteral("/Tinctara/usercolors.cps"); }

    QTemporaryDir dir;
    QString base, program, data;

private:
    int mode_[2];
};

#define REQUIRE_UNPRIVILEGED(prefix)                                                                   \
    const std::optional<QStringList> prefix = UnprivilegedPrefix();                                    \
    if (!prefix)                                                                                       \
        GTEST_SKIP() << "running as root and neither setpriv nor runuser can drop to nobody here, "  \
                        "so file permissions cannot be made to fail";

} // namespace

TEST(CustomColorsFormatTest, EachValueIsSignOrSpaceDigitsSpaceCrLf)
{
    const CustomColorArray a = WithValues({{0, 255}, {1, 0}, {2, -5}, {3, Min32}, {4, Max32}, {5, 16777215},
                                           {6, 16777216}, {7, 7}, {224, 42}});
    const QByteArray want = " 255 \r\n"
                            " 0 \r\n"
                            "-5 \r\n"
                            "-2147483648 \r\n"
                            " 2147483647 \r\n"
                            " 16777215 \r\n"
                            " 16777216 \r\n"
                            " 7 \r\n" +
                            Repeat(" 0 \r\n", 216) + " 42 \r\n";
    EXPECT_EQ(FormatCustomColors(a), want);
}

TEST(CustomColorsFormatTest, RedInCellFiveWithoutAFileBefore)
{
    const QByteArray want = Repeat(" 0 \r\n", 5) + " 255 \r\n" + Repeat(" 0 \r\n", 219);
    EXPECT_EQ(FormatCustomColors(WithValues({{5, 255}})), want);
    EXPECT_EQ(want.count("\r\n"), 225);
}

TEST(CustomColorsFormatTest, RandomArraysRoundTripInTheExactLayout)
{
    std::mt19937 rng(11);
    const QRegularExpression line(QStringLiteral("^[ -](0|[1-9][0-9]*) $"));
    for (int round = 0; round < 200; ++round) {
        CustomColorArray a;
        for (int32_t& v : a) {
            switch (rng() % 4) {
            case 0: v = int32_t(rng()); break;
            case 1: v = int32_t(rng() & 0xFFFFFF); break;
            case 2: v = int32_t(rng() % 21) - 10; break;
            default: v = rng() % 2 ? Min32 : Max32; break;
            }
        }
        const QByteArray bytes = FormatCustomColors(a);
        ASSERT_EQ(ParseCustomColors(bytes), a) << round;
        ASSERT_TRUE(bytes.endsWith("\r\n"));
        const QList<QByteArray> lines = bytes.chopped(1).split('\n');
        ASSERT_EQ(lines.size(), 225);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            ASSERT_TRUE(lines[i].endsWith('\r')) << i;
            ASSERT_TRUE(line.match(QString::fromLatin1(lines[i].chopped(1))).hasMatch()) << lines[i].constData();
        }
    }
}

TEST(CustomColorsParseTest, EachLineReadsItsLeadingNumberRounded)
{
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {" 255 ", 255},         {"255", 255},           {" 0 ", 0},
        {"-5 ", -5},            {"16777215", 16777215}, {"2.5", 2},
        {"3.5", 4},             {"-2.5", -2},           {"0.5", 0},
        {"1.5", 2},             {"2.4999", 2},          {"letters", 0},
        {"", 0},                {"   ", 0},             {"12abc", 12},
        {"abc12", 0},           {" 1 2 ", 12},          {"\t7\t", 7},
        {"+8", 8},              {"1e3", 1000},          {"1.5E1", 15},
        {"2147483647", Max32},  {"-2147483648", Min32}, {"2147483648", 0},
        {"-2147483649", 0},     {"2147483647.4", Max32}, {"2147483647.5", 0},
        {"-2147483648.5", Min32}, {"1e10", 0},          {"-1e300", 0},
        {"1e999", 0},           {"-", 0},               {".", 0},
        {"5\xff", 5},           {"\xfe" "5", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LineValue(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(LineValue(QByteArray("5\0" "9", 3)), 5);
    EXPECT_EQ(LineValue(QByteArray("\0" "9", 2)), 0);
    EXPECT_EQ(LineValue(QByteArray(100000, '9')), 0);
    EXPECT_EQ(LineValue(QByteArray(100000, '0') + "42"), 42);
}

TEST(CustomColorsParseTest, MissingLinesReadZeroAndExtraLinesAreIgnored)
{
    EXPECT_EQ(ParseCustomColors(""), CustomColorArray{});
    EXPECT_EQ(ParseCustomColors("\r\n"), CustomColorArray{});
    // The last line read is not repeated into the missing ones.
    EXPECT_EQ(ParseCustomColors(" 9 \r\n 7 \r\n"), WithValues({{0, 9}, {1, 7}}));

    QByteArray long_;
    CustomColorArray want{};
    for (int i = 0; i < 400; ++i) {
        long_ += " " + QByteArray::number(1000 + i) + " \r\n";
        if (i < 225)
            want[size_t(i)] = 1000 + i;
    }
    EXPECT_EQ(ParseCustomColors(long_), want);
    // A 226th line that is no number at all is not read either.
    EXPECT_EQ(ParseCustomColors(FormatCustomColors(want) + "garbage\r\n\xff\x00"), want);
}

TEST(CustomColorsParseTest, LineEndsOfEitherKindAndNoneAtTheEnd)
{
    const CustomColorArray want = WithValues({{0, 1}, {1, 2}, {2, 3}});
    EXPECT_EQ(ParseCustomColors("1\r\n2\r\n3\r\n"), want);
    EXPECT_EQ(ParseCustomColors("1\n2\n3\n"), want);
    EXPECT_EQ(ParseCustomColors("1\r\n2\n3"), want);
    EXPECT_EQ(ParseCustomColors("1\n2\r\n3\r"), want);
    // Empty lines are lines.
    EXPECT_EQ(ParseCustomColors("1\n\n2\r\n\r\n3"), WithValues({{0, 1}, {2, 2}, {4, 3}}));
    // A lone CR ends a line too.
    EXPECT_EQ(ParseCustomColors("1\r2\r\n3\r\n"), WithValues({{0, 1}, {1, 2}, {2, 3}}));
    EXPECT_EQ(ParseCustomColors("\r4\n5"), WithValues({{1, 4}, {2, 5}}));
    EXPECT_EQ(ParseCustomColors("6\r\r\n7"), WithValues({{0, 6}, {2, 7}}));
    // The same 225 values through either line end.
    std::mt19937 rng(3);
    CustomColorArray a;
    for (int32_t& v : a)
        v = int32_t(rng());
    QByteArray lf = FormatCustomColors(a);
    lf.replace("\r\n", "\n");
    EXPECT_EQ(ParseCustomColors(lf), a);
    EXPECT_EQ(ParseCustomColors(lf.replace('\n', '\r')), a);
}

TEST(CustomColorsParseTest, ArbitraryBytesParseToAStableArray)
{
    // Whatever the bytes, reading what was read and written gives the same.
    std::mt19937 rng(5);
    const char alphabet[] = "0123456789 -+.eE\r\n\t&Hx\0\xff";
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes(qsizetype(rng() % 3000), '\0');
        for (char& c : bytes)
            c = round % 2 ? char(rng()) : alphabet[rng() % (sizeof alphabet - 1)];
        const CustomColorArray a = ParseCustomColors(bytes);
        ASSERT_EQ(ParseCustomColors(FormatCustomColors(a)), a) << round;
    }
}

TEST(CustomColorsParseTest, ValuesThatAreNoColorsAreKeptThroughReadAndWrite)
{
    const QByteArray file = " 12345 \r\n-5 \r\n 16777216 \r\n-2147483648 \r\n 2147483647 \r\n" +
                            Repeat(" 16777215 \r\n", 220);
    const CustomColorArray a = ParseCustomColors(file);
    EXPECT_EQ(a[1], -5);
    EXPECT_EQ(a[2], 16777216);
    EXPECT_EQ(a[3], Min32);
    EXPECT_EQ(a[4], Max32);
    EXPECT_EQ(FormatCustomColors(a), file);
}

TEST(CustomColorsFileTest, WrittenFileHoldsTheLayoutAndReadsBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("usercolors.cps"));
    std::mt19937 rng(9);
    for (int round = 0; round < 5; ++round) {
        CustomColorArray a;
        for (int32_t& v : a)
            v = int32_t(rng());
        ASSERT_EQ(swatches::WriteCustomColorsFile(path, a), QString());
        EXPECT_EQ(ReadBytes(path), FormatCustomColors(a));
        EXPECT_EQ(swatches::ReadCustomColorsFile(path), a);
    }
    // A longer file before is replaced whole, leaving no tail behind.
    ASSERT_TRUE(WriteBytes(path, QByteArray(200000, '7')));
    const CustomColorArray red = WithValues({{5, 255}});
    ASSERT_EQ(swatches::WriteCustomColorsFile(path, red), QString());
    EXPECT_EQ(ReadBytes(path), Repeat(" 0 \r\n", 5) + " 255 \r\n" + Repeat(" 0 \r\n", 219));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("usercolors.cps")});
}

TEST(CustomColorsFileTest, MissingOrUnreadableFilesReadAsZeros)
{
    QTemporaryDir dir;
    EXPECT_EQ(swatches::ReadCustomColorsFile(dir.filePath(QStringLiteral("none.cps"))), CustomColorArray{});
    EXPECT_EQ(swatches::ReadCustomColorsFile(dir.path()), CustomColorArray{});
    const QString empty = dir.filePath(QStringLiteral("empty.cps"));
    ASSERT_TRUE(WriteBytes(empty, QByteArray()));
    EXPECT_EQ(swatches::ReadCustomColorsFile(empty), CustomColorArray{});
}

TEST(CustomColorsFileTest, AFolderInTheFilesPlaceFailsTheSaveWithAReason)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("usercolors.cps"));
    ASSERT_TRUE(QDir().mkdir(path));
    const QString reason = swatches::WriteCustomColorsFile(path, WithValues({{1, 255}}));
    EXPECT_FALSE(reason.trimmed().isEmpty());
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("usercolors.cps")})
        << "a failed save leaves nothing behind";

    EXPECT_FALSE(swatches::WriteCustomColorsFile(dir.filePath(QStringLiteral("no/such/usercolors.cps")),
                                                 CustomColorArray{})
                     .trimmed()
                     .isEmpty());
}

// TINCTARA_SAVE_KILL_ROUNDS sets the number of kills for long runs.
TEST(CustomColorsFileTest, SavesKilledAtRandomMomentsLeaveOneWholeSave)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("usercolors.cps"));
    ASSERT_EQ(swatches::WriteCustomColorsFile(path, swatch_testing::Generation(0)), QString());
    uint64_t held = 0; // the generation the file holds
    uint64_t next = 1; // the first generation of the next helper
    std::mt19937 rng(20240607);
    const char* setting = std::getenv("TINCTARA_SAVE_KILL_ROUNDS");
    const int rounds = setting ? std::atoi(setting) : 40;
    // What a killed save may leave beside the file: its temporary copy.
    const QRegularExpression leftover(QStringLiteral("^usercolors\\.cps\\.[A-Za-z0-9]{6}$"));
    int leftovers = 0;
    for (int round = 0; round < rounds; ++round) {
        QProcess helper;
        helper.start(QStringLiteral(CUSTOM_COLORS_HELPER),
                     {QStringLiteral("loop"), path, QString::number(next)});
        ASSERT_TRUE(helper.waitForStarted(10000));
        // Most kills land while saves follow each other (each takes a few
        // milliseconds), some before the first one has finished.
        const bool amongSaves = round % 5 != 0;
        if (amongSaves)
            helper.waitForReadyRead(10000);
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % 10000));
        helper.kill();
        ASSERT_TRUE(helper.waitForFinished(10000));
        const QByteArray out = helper.readAllStandardOutput();
        ASSERT_FALSE(out.contains("failed")) << out.constData();
        const int reported = int(out.count('\n'));
        if (amongSaves) {
            ASSERT_GE(reported, 1) << "round " << round;
        }

        // Either the last save it reported, or the one after it when that
        // one was committed just before the kill.
        const uint64_t lastReported = reported == 0 ? held : next + uint64_t(reported) - 1;
        const uint64_t inFlight = next + uint64_t(reported);
        const QByteArray bytes = ReadBytes(path);
        const CustomColorArray got = ParseCustomColors(bytes);
        const uint64_t n = uint64_t(got[0]);
        ASSERT_TRUE(n == lastReported || n == inFlight)
            << "round " << round << ": file names generation " << got[0] << ", expected " << lastReported
            << " or " << inFlight;
        ASSERT_EQ(bytes, FormatCustomColors(swatch_testing::Generation(n))) << "round " << round;
        // Whatever temporary copies lie beside it, the reader takes the file.
        ASSERT_EQ(swatches::ReadCustomColorsFile(path), swatch_testing::Generation(n)) << "round " << round;
        const QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        for (const QString& name : names)
            ASSERT_TRUE(name == QLatin1String("usercolors.cps") || leftover.match(name).hasMatch())
                << "round " << round << ": " << name.toStdString();
        leftovers = int(names.size()) - 1;
        // A finished save removed what earlier kills left: at most this
        // kill's copy remains.
        if (amongSaves) {
            ASSERT_LE(leftovers, 1) << "round " << round;
        }
        held = n;
        next = inFlight + 1;
    }
    std::printf("%d kills; %d temporary copies left beside the file\n", rounds, leftovers);
}

TEST(CustomColorsFileTest, ProgramFolderIsKeptWhileItIsWritable)
{
    QTemporaryDir dir;
    EXPECT_EQ(swatches::CustomColorsFolder(dir.path()), dir.path());
    // Not one that others may write, sticky or not.
    const QByteArray data = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8());
    for (mode_t mode : {0777, 01777}) {
        ::chmod(QFile::encodeName(dir.path()).constData(), mode);
        EXPECT_NE(swatches::CustomColorsFolder(dir.path()), dir.path()) << mode;
    }
    qputenv("XDG_DATA_HOME", data);

    REQUIRE_UNPRIVILEGED(prefix);
    Folders folders(true, true);
    folders.Lock();
    const HelperRun r = RunHelper(*prefix, {QStringLiteral("save"), folders.program, QStringLiteral("255")},
                            folders.Env());
    EXPECT_EQ(r.exitCode, 0) << r.out.constData();
    EXPECT_EQ(r.out, folders.ProgramFile().toUtf8() + "\n\n");
    EXPECT_EQ(ReadBytes(folders.ProgramFile()), Repeat(" 255 \r\n", 225));
    EXPECT_FALSE(QFile::exists(folders.DataFile()));
}

TEST(CustomColorsFileTest, UnwritableProgramFolderMovesTheFileToTheUserDataFolder)
{
    REQUIRE_UNPRIVILEGED(prefix);
    Folders folders(false, true);
    ASSERT_TRUE(WriteBytes(folders.ProgramFile(), Repeat(" 1 \r\n", 225)));
    folders.Lock();
    const HelperRun r = RunHelper(*prefix, {QStringLiteral("save"), folders.program, QStringLiteral("-7")},
                            folders.Env());
    EXPECT_EQ(r.exitCode, 0) << r.out.constData();
    EXPECT_EQ(r.out, folders.DataFile().toUtf8() + "\n\n");
    EXPECT_EQ(ReadBytes(folders.DataFile()), Repeat("-7 \r\n", 225));
    EXPECT_EQ(ReadBytes(folders.ProgramFile()), Repeat(" 1 \r\n", 225));
}

TEST(CustomColorsFileTest, SaveThatCanBeWrittenNowhereFailsAndChangesNothing)
{
    REQUIRE_UNPRIVILEGED(prefix);
    Folders folders(false, false);
    ASSERT_TRUE(WriteBytes(folders.ProgramFile(), Repeat(" 1 \r\n", 225)));
    ASSERT_TRUE(WriteBytes(folders.DataFile(), Repeat(" 2 \r\n", 225)));
    folders.Lock();
    const HelperRun r = RunHelper(*prefix, {QStringLiteral("save"), folders.program, QStringLiteral("255")},
                            folders.Env());
    EXPECT_EQ(r.exitCode, 1) << r.out.constData();
    const QList<QByteArray> lines = r.out.split('\n');
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], folders.DataFile().toUtf8());
    EXPECT_FALSE(lines[1].trimmed().isEmpty()) << "the failure names its reason";
    EXPECT_EQ(ReadBytes(folders.ProgramFile()), Repeat(" 1 \r\n", 225));
    EXPECT_EQ(ReadBytes(folders.DataFile()), Repeat(" 2 \r\n", 225));
    for (const QString& d : {folders.program, folders.data + QStringLiteral("/Tinctara")})
        EXPECT_EQ(QDir(d).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                  QStringList{QStringLiteral("usercolors.cps")});
}

TEST(CustomColorsFileTest, AFullDiskFailsTheSaveAndKeepsTheOldFileWhole)
{
    QTemporaryDir dir;
    const QString old = dir.filePath(QStringLiteral("old.cps")), disk = dir.filePath(QStringLiteral("disk"));
    ASSERT_TRUE(WriteBytes(old, FormatCustomColors(swatch_testing::Generation(7))) && QDir().mkdir(disk));
    // A small file system of the test's own, filled up.
    const QString script = QStringLiteral(
        "mount -t tmpfs -o size=64k,mode=755 tmpfs \"$1\" || exit\n"
        "cp \"$2\" \"$1/usercolors.cps\"; head -c 1000000 /dev/zero > \"$1/fill\" 2>/dev/null\n"
        "\"$3\" save \"$1\" 255; echo \"exit $?\"; cmp -s \"$2\" \"$1/usercolors.cps\" && echo same; ls -A \"$1\"\n");
    const HelperRun r = RunHelper({QStringLiteral("unshare"), QStringLiteral("-rm"), QStringLiteral("sh"),
                                   QStringLiteral("-c"), script, QStringLiteral("sh"), disk, old}, {});
    if (!r.out.contains("exit "))
        GTEST_SKIP() << "no file system of our own can be mounted here";
    EXPECT_EQ(r.out, disk.toUtf8() + "/usercolors.cps\n" + std::strerror(ENOSPC) + "\nexit 1\nsame\nfill\nusercolors.cps\n");
}

TEST(CustomColorsStoreTest, OddFilesAndLinksOfOthersAreNeitherReadNorWritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("usercolors.cps")), mine = dir.filePath(QStringLiteral("mine"));
    const QByteArray name = QFile::encodeName(path);
    const auto add = [&] {
        return swatches::UpdateCustomColorsFile({path, QString()}, [](CustomColorArray& a) { a[5] = 255; }).error;
    };
    ASSERT_EQ(::mkfifo(name.constData(), 0600), 0);
    EXPECT_TRUE(add().startsWith(QStringLiteral("it is not a regular file"))) << "and the add did not block";
    ::unlink(name.constData());
    // Root's link made someone else's; anyone else's link to root's file.
    ASSERT_TRUE(WriteBytes(mine, " 1 \r\n") && QFile::link(::geteuid() == 0 ? mine : QStringLiteral("/etc/passwd"), path));
    ASSERT_TRUE(::geteuid() != 0 || ::lchown(name.constData(), 65534, 65534) == 0);
    EXPECT_TRUE(add().contains(QStringLiteral("another user")));
    EXPECT_EQ(ReadBytes(mine), " 1 \r\n");
    // The user's own link to the user's own file is followed and stays a link.
    ASSERT_TRUE(::unlink(name.constData()) == 0 && QFile::link(mine, path) && add().isEmpty());
    EXPECT_TRUE(ReadBytes(mine).startsWith(" 1 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 255 \r\n") && QFileInfo(path).isSymLink());
}

TEST(CustomColorsStoreTest, AnInstalledCopyReadsTheFileBesideItUntilItsDataFolderHasOne)
{
    QTemporaryDir dir;
    const QString bin = dir.filePath(QStringLiteral("bin")), beside = bin + QStringLiteral("/usercolors.cps");
    const QString entry = dir.filePath(QStringLiteral("share/applications/" TINCTARA_DESKTOP_ENTRY));
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(QFileInfo(entry).path()) && WriteBytes(entry, "") &&
                WriteBytes(beside, " 7 \r\n"));
    const QByteArray data = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8());
    const swatches::CustomColorsPlace place = swatches::CustomColorsPlaceFor(bin);
    qputenv("XDG_DATA_HOME", data);
    EXPECT_EQ(place.file, dir.filePath(QStringLiteral("data/Tinctara/usercolors.cps")));
    for (int cell : {5, 6}) {
        EXPECT_EQ(swatches::UpdateCustomColorsFile(place, [&](CustomColorArray& a) { a[size_t(cell)] = cell; }).error, "");
        ASSERT_TRUE(WriteBytes(beside, " 9 \r\n")); // read once: not again
    }
    EXPECT_EQ(ReadBytes(place.file), FormatCustomColors(WithValues({{0, 7}, {5, 5}, {6, 6}})));
}
