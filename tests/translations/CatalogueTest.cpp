// The English catalogue against the sources. A text shown to the player without its English, a
// Japanese text in the code that never reaches the catalogue, and a catalogue that lags the
// sources (a text added or changed there, or one it lists that the sources no longer have) each
// fail here.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

struct Message {
    QString context;
    QString source;
    QString translation;
    QString type; ///< the translation's state: empty when finished
};

std::vector<Message> readCatalogue(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    std::vector<Message> messages;
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"name")
            context = xml.readElementText();
        else if (xml.name() == u"message")
            messages.push_back({context, {}, {}, {}});
        else if (xml.name() == u"source" && !messages.empty())
            messages.back().source = xml.readElementText();
        else if (xml.name() == u"translation" && !messages.empty()) {
            messages.back().type = xml.attributes().value(QLatin1String("type")).toString();
            messages.back().translation = xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return messages;
}

/// The places of "%1".."%9" a text has, in order of number.
QString placesOf(const QString& text)
{
    static const QRegularExpression place(QStringLiteral("%[1-9]"));
    QStringList places;
    for (const auto& match : place.globalMatch(text))
        places << match.captured();
    places.sort();
    return places.join(QLatin1Char(' '));
}

/// What is wrong with a catalogue: a message unfinished, left over from a text the sources no
/// longer have, empty, or losing or inventing a place for a value.
std::vector<std::string> faultsOf(const std::vector<Message>& messages)
{
    std::vector<std::string> faults;
    for (const Message& m : messages) {
        const std::string where = (m.context + QStringLiteral(" | ") + m.source).toStdString();
        if (!m.type.isEmpty())
            faults.push_back(m.type.toStdString() + ": " + where);
        else if (m.translation.trimmed().isEmpty())
            faults.push_back("empty: " + where);
        else if (placesOf(m.translation) != placesOf(m.source))
            faults.push_back("places differ: " + where);
    }
    return faults;
}

QString sourceDir() { return QStringLiteral(PORONPA_SOURCE_DIR); }

QStringList translatedFolders() { return QStringLiteral(PORONPA_TRANSLATED_FOLDERS).split(QLatin1Char(',')); }

bool isJapanese(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x3000 && u <= 0x30ff) || (u >= 0x4e00 && u <= 0x9fff) || (u >= 0xff00 && u <= 0xffef);
}

/// A string literal of the code: its text as written (escapes left alone) and the code before it,
/// comments left out, enough to hold the call it is an argument of.
struct Literal {
    QString text;
    QString before;
    int line;
};

/// The string literals of C++ code, comments and character literals passed over. Raw strings are
/// the programs' --help texts, written for a terminal in English, and are left out.
std::vector<Literal> literalsOf(const QString& code)
{
    std::vector<Literal> literals;
    int line = 1;
    QString before;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        const QChar next = i + 1 < code.size() ? code[i + 1] : QChar();
        if (c == QLatin1Char('\n')) {
            ++line;
            before += c;
        } else if (c == QLatin1Char('/') && next == QLatin1Char('/')) {
            while (i + 1 < code.size() && code[i + 1] != QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            const qsizetype end = code.indexOf(QStringLiteral("*/"), i + 2);
            line += static_cast<int>(code.mid(i, end - i).count(QLatin1Char('\n')));
            i = end < 0 ? code.size() : end + 1;
        } else if (c == QLatin1Char('R') && next == QLatin1Char('"')) {
            const qsizetype open = code.indexOf(QLatin1Char('('), i);
            const QString close = QLatin1Char(')') + code.mid(i + 2, open - i - 2) + QLatin1Char('"');
            const qsizetype end = code.indexOf(close, open);
            line += static_cast<int>(code.mid(i, end - i).count(QLatin1Char('\n')));
            i = end < 0 ? code.size() : end + close.size() - 1;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            qsizetype j = i + 1;
            while (j < code.size() && code[j] != c && code[j] != QLatin1Char('\n'))
                j += code[j] == QLatin1Char('\\') ? 2 : 1;
            if (c == QLatin1Char('"'))
                literals.push_back({code.mid(i + 1, j - i - 1), before.right(200), line});
            before += code.mid(i, j - i + 1);
            i = j;
        } else {
            before += c;
        }
    }
    return literals;
}

/// Texts in Japanese the code keeps as they are in every language: the type faces' names, the
/// game's name, the title's lettering beside its picture, and each language named in itself.
const std::set<QString> KeptAsWritten = {
    QStringLiteral("ポロンパ　ぽぷらん"), // the game's name, as its window and its files call it
    QStringLiteral("ぽぷらん"),           // lettering on the title picture and the side panel
    QStringLiteral("日本語"),             // the language's own name in the settings
};

/// The marks lupdate reads (translations/CMakeLists.txt), each right before its text.
bool marked(const QString& before)
{
    static const QRegularExpression mark(QStringLiteral(
        R"((\bPORONPA_TR|\bQT_TRANSLATE_NOOP|\btranslate|\btr)\s*\(\s*("[^"]*"\s*,\s*)?$)"));
    return mark.match(before).hasMatch();
}

} // namespace

TEST(Catalogue, EveryMessageHasItsEnglish)
{
    const std::vector<Message> messages = readCatalogue(QStringLiteral(PORONPA_CATALOGUE));
    ASSERT_FALSE(messages.empty());
    for (const std::string& fault : faultsOf(messages))
        ADD_FAILURE() << fault;
}

// lupdate run on the sources into a copy of the catalogue adds what the sources mark and the
// catalogue lacks (unfinished) and marks what it lists and the sources lack (vanished).
TEST(Catalogue, ListsExactlyTheTextsTheSourcesMark)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString copy = dir.filePath(QStringLiteral("poronpa_en.ts"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(PORONPA_CATALOGUE), copy));
    QStringList arguments = QStringLiteral(PORONPA_LUPDATE_OPTIONS).split(QLatin1Char(','));
    arguments << QStringLiteral("-silent");
    for (const QString& folder : translatedFolders())
        arguments << QDir(sourceDir()).filePath(folder);
    arguments << QStringLiteral("-ts") << copy;
    QProcess lupdate;
    lupdate.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    lupdate.start(QStringLiteral(PORONPA_LUPDATE), arguments);
    ASSERT_TRUE(lupdate.waitForFinished(120000));
    ASSERT_EQ(lupdate.exitCode(), 0);
    for (const std::string& fault : faultsOf(readCatalogue(copy)))
        ADD_FAILURE() << fault << "  (the build's target translations_update brings the catalogue up to date)";
}

// A Japanese text in the code is either marked for the catalogue, and so has its English, or one of
// the few kept as written.
TEST(Catalogue, EveryJapaneseTextOfTheCodeIsMarked)
{
    int scanned = 0;
    for (const QString& folder : translatedFolders()) {
        QDirIterator files(QDir(sourceDir()).filePath(folder), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                           QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
            ++scanned;
            for (const Literal& literal : literalsOf(QString::fromUtf8(file.readAll()))) {
                if (std::none_of(literal.text.begin(), literal.text.end(), isJapanese) ||
                    KeptAsWritten.contains(literal.text) || marked(literal.before))
                    continue;
                ADD_FAILURE() << QDir(sourceDir()).relativeFilePath(path).toStdString() << ":" << literal.line
                              << ": \"" << literal.text.toStdString() << "\" is not marked for translation";
            }
        }
    }
    EXPECT_GT(scanned, 0);
}

TEST(Catalogue, ScannerFindsTextsAndTheirMarks)
{
    const QString code = QStringLiteral(
        "// \"コメント\"\n"
        "a = PORONPA_TR(\"Items\", \"青のカギ\");\n"
        "b = QCoreApplication::translate(\"Title\",\n"
        "    \"はじめから\"); /* \"まだ\"\n*/ c = \"マーク無し\";\n"
        "d = R\"(ヘルプ \"x\")\"; e = '\"'; f = tr(\"選択\");\n");
    const std::vector<Literal> literals = literalsOf(code);
    std::vector<std::pair<QString, bool>> seen;
    for (const Literal& literal : literals)
        if (std::any_of(literal.text.begin(), literal.text.end(), isJapanese))
            seen.push_back({literal.text, marked(literal.before)});
    const std::vector<std::pair<QString, bool>> expected = {
        {QStringLiteral("青のカギ"), true},
        {QStringLiteral("はじめから"), true},
        {QStringLiteral("マーク無し"), false},
        {QStringLiteral("選択"), true},
    };
    EXPECT_EQ(seen, expected);
}
