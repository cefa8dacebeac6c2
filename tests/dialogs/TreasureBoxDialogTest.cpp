#include "screens/qt/TreasureBoxDialog.h"

#include "RecordingWavePlayer.h"
#include "assets/Pictures.h"
#include "screens/MessageTables.h"
#include "screens/qt/Translations.h"
#include "world/SheetCells.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using namespace poronpa;

Q_DECLARE_METATYPE(poronpa::Language)

namespace {

constexpr int Click = 1;
constexpr int ItemSound = 11;
constexpr int MemoSound = 12;
constexpr int NothingSound = 13;

QImage spriteCell(int cell)
{
    return pictures::spriteSheet().copy(sheet::cellX(cell), sheet::cellY(cell), 32, 32);
}

QString text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

/// Ticks the typing timer until the page is complete; returns the number of ticks it took.
int typeWholePage(frmGetItem& dialog)
{
    int ticks = 0;
    while (dialog.isTyping() && ticks < 1000) {
        dialog.TypeNextCharacter();
        ++ticks;
    }
    return ticks;
}

} // namespace

class TreasureBoxDialogTest : public QObject {
    Q_OBJECT

private slots:
    void eachContentOpensWithItsPictureTextsAndSound_data()
    {
        QTest::addColumn<int>("boxContent");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QImage>("picture");
        QTest::addColumn<QString>("firstPage");
        QTest::addColumn<QString>("secondPage");
        QTest::addColumn<int>("sound");

        const QString box = QStringLiteral("たからばこ");
        const QString empty = QStringLiteral("からっぽ!");
        const QImage dud = spriteCell(191);
        QTest::newRow("empty box") << -1 << box << dud << empty << QString() << NothingSound;
        QTest::newRow("offerings incomplete")
            << 200 << QStringLiteral("ポロンパ") << dud
            << QStringLiteral("お月見に必要なものが足りない！！") << QString() << NothingSound;
        QTest::newRow("first memo") << 101 << box << spriteCell(183) << QStringLiteral("メモが入っていた。")
                                    << QStringLiteral("城の上に行くには、城の中央部分から。") << MemoSound;
        QTest::newRow("last memo") << 106 << box << spriteCell(183) << QStringLiteral("メモが入っていた。")
                                   << QStringLiteral("たからばこは　ひとくいばこだった！！　うそ。") << MemoSound;
        QTest::newRow("blue key") << 0 << box << pictures::itemIcon(0)
                                  << text(texts::ItemName[0]) + QStringLiteral("\nを手に入れた!")
                                  << text(texts::ItemText[0]) << ItemSound;
        QTest::newRow("pampas grass") << 9 << box << pictures::itemIcon(9)
                                      << text(texts::ItemName[9]) + QStringLiteral("\nを手に入れた!")
                                      << text(texts::ItemText[9]) << ItemSound;
        // Values no box holds must not read past the icon or memo tables.
        QTest::newRow("item without icon") << 10 << box << dud << empty << QString() << NothingSound;
        QTest::newRow("memo without text") << 107 << box << dud << empty << QString() << NothingSound;
    }

    void eachContentOpensWithItsPictureTextsAndSound()
    {
        QFETCH(int, boxContent);
        QFETCH(QString, caption);
        QFETCH(QImage, picture);
        QFETCH(QString, firstPage);
        QFETCH(QString, secondPage);
        QFETCH(int, sound);

        test::RecordedSound recorded;
        frmGetItem dialog(nullptr, boxContent, recorded.sound());

        QCOMPARE(dialog.windowTitle(), caption);
        QCOMPARE(dialog.itemPicture().convertToFormat(QImage::Format_RGB32),
                 picture.convertToFormat(QImage::Format_RGB32));
        QCOMPARE(dialog.pageText(), firstPage);
        QCOMPARE(dialog.nextPageText(), secondPage);
        QCOMPARE(recorded.played(), QList<int>{sound});
        QCOMPARE(dialog.messageText(), QStringLiteral("....."));
        QCOMPARE(dialog.buttonColor(), QColor(192, 255, 192));
        QVERIFY(dialog.isTyping());
        QVERIFY(!dialog.isPulsing());
    }

    void emptyBoxTypesFiveCharactersThenOneOkCloses()
    {
        test::RecordedSound recorded;
        frmGetItem dialog(nullptr, -1, recorded.sound());
        QSignalSpy closed(&dialog, &QDialog::finished);
        QCOMPARE(dialog.typingTimer()->interval(), 30);

        const QString page = QStringLiteral("からっぽ!");
        for (int tick = 1; tick <= 5; ++tick) {
            QVERIFY(dialog.isTyping());
            dialog.TypeNextCharacter();
            QCOMPARE(dialog.messageText(), page.left(tick));
            QCOMPARE(dialog.shadowText(), page.left(tick));
        }
        QVERIFY(!dialog.isTyping());
        QVERIFY(dialog.isPulsing());
        QCOMPARE(dialog.focusWidget(), dialog.okButton());

        dialog.TypeNextCharacter();
        QCOMPARE(dialog.messageText(), page);

        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QCOMPARE(closed.count(), 1);
        QCOMPARE(recorded.played(), (QList<int>{NothingSound, Click}));
    }

    void memoShowsItsTextOnTheSecondPage()
    {
        test::RecordedSound recorded;
        frmGetItem dialog(nullptr, 104, recorded.sound());
        QSignalSpy closed(&dialog, &QDialog::finished);

        QCOMPARE(typeWholePage(dialog), 9);
        dialog.AdvanceButtonColor();
        dialog.AdvanceButtonColor();
        const QColor pulsed = dialog.buttonColor();

        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QCOMPARE(closed.count(), 0);
        QVERIFY(dialog.isTyping());
        QVERIFY(!dialog.isPulsing());
        QCOMPARE(dialog.buttonColor(), pulsed);

        const QString memo = QStringLiteral("Ｒを上げるには、まず「よろ」のあいさつから。");
        QCOMPARE(typeWholePage(dialog), memo.size());
        QCOMPARE(dialog.messageText(), memo);
        QCOMPARE(dialog.shadowText(), memo);

        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QCOMPARE(closed.count(), 1);
        QCOMPARE(recorded.played(), (QList<int>{MemoSound, Click, Click}));
    }

    void itemNameEndsTheFirstLineAndOkDuringTypingJumpsToTheDescription()
    {
        test::RecordedSound recorded;
        frmGetItem dialog(nullptr, 0, recorded.sound());
        QSignalSpy closed(&dialog, &QDialog::finished);
        const QString name = text(texts::ItemName[0]);

        for (int tick = 0; tick <= name.size(); ++tick) {
            dialog.TypeNextCharacter();
        }
        QCOMPARE(dialog.messageText(), name + QChar(u'\n'));
        QCOMPARE(dialog.shadowText(), dialog.messageText());
        QVERIFY(dialog.isTyping());

        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QCOMPARE(closed.count(), 0);
        dialog.TypeNextCharacter();
        const QString description = text(texts::ItemText[0]);
        QCOMPARE(dialog.messageText(), description.left(1));

        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QCOMPARE(closed.count(), 1);
        QCOMPARE(recorded.played(), (QList<int>{ItemSound, Click, Click}));
    }

    void buttonColourFollowsItsPhase_data()
    {
        QTest::addColumn<int>("phase");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("start") << 0 << QColor(254, 170, 170);
        QTest::newRow("first step") << 4 << QColor(250, 174, 166);
        QTest::newRow("red at its lowest") << 127 << QColor(127, 213, 211);
        QTest::newRow("one wave later") << 256 << QColor(254, 170, 170);
        QTest::newRow("last phase") << 511 << QColor(255, 169, 171);
    }

    void buttonColourFollowsItsPhase()
    {
        QFETCH(int, phase);
        QFETCH(QColor, colour);
        QCOMPARE(okButtonColor(phase), colour);
    }

    void colourPhaseCarriesOverToTheNextDialogAndWraps()
    {
        test::RecordedSound recorded;
        int phase = 0;
        {
            frmGetItem first(nullptr, -1, recorded.sound());
            QCOMPARE(first.colourTimer()->interval(), 50);
            typeWholePage(first);
            first.AdvanceButtonColor();
            phase = frmGetItem::colorPhase();
            QCOMPARE(first.buttonColor(), okButtonColor(phase));
        }

        frmGetItem second(nullptr, -1, recorded.sound());
        QCOMPARE(second.buttonColor(), QColor(192, 255, 192));
        typeWholePage(second);
        second.AdvanceButtonColor();
        QCOMPARE(frmGetItem::colorPhase(), (phase + 4) % 512);

        while (frmGetItem::colorPhase() != 508) {
            second.AdvanceButtonColor();
        }
        second.AdvanceButtonColor();
        QCOMPARE(frmGetItem::colorPhase(), 0);
        QCOMPARE(second.buttonColor(), okButtonColor(0));
    }

    /// The dialog speaks the language installed: English from the catalogue, and exactly the
    /// Japanese texts with Japanese.
    void boxSpeaksTheLanguageInstalled_data()
    {
        QTest::addColumn<Language>("language");
        QTest::addColumn<int>("boxContent");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("firstPage");
        QTest::addColumn<QString>("secondPage");
        QTest::newRow("ja diary") << Language::Japanese << 4 << QStringLiteral("たからばこ")
                                  << QStringLiteral("ゼンボのにっきちょう\nを手に入れた!")
                                  << QStringLiteral("Sキーでセーブが出来るぞ!");
        QTest::newRow("en diary") << Language::English << 4 << QStringLiteral("Treasure Box")
                                  << QStringLiteral("You got\nZembo's Diary!") << QStringLiteral("Press S to save your game!");
        QTest::newRow("en memo") << Language::English << 102 << QStringLiteral("Treasure Box")
                                 << QStringLiteral("There was a note inside.")
                                 << QStringLiteral("The pampas grass waits in a big cave deep underground.");
        QTest::newRow("ja offerings") << Language::Japanese << 200 << QStringLiteral("ポロンパ")
                                      << QStringLiteral("お月見に必要なものが足りない！！") << QString();
        QTest::newRow("en empty") << Language::English << -1 << QStringLiteral("Treasure Box") << QStringLiteral("Empty!")
                                  << QString();
    }

    void boxSpeaksTheLanguageInstalled()
    {
        QFETCH(Language, language);
        QFETCH(int, boxContent);
        QFETCH(QString, caption);
        QFETCH(QString, firstPage);
        QFETCH(QString, secondPage);

        installLanguage(language);
        test::RecordedSound recorded;
        frmGetItem dialog(nullptr, boxContent, recorded.sound());
        installLanguage(Language::Japanese);
        QCOMPARE(dialog.windowTitle(), caption);
        QCOMPARE(dialog.pageText(), firstPage);
        QCOMPARE(dialog.nextPageText(), secondPage);
    }

    /// The dialog with its real timers, shown and closed as the game window does.
    void dialogTypesAndCloses_data()
    {
        QTest::addColumn<bool>("byOk");
        QTest::addColumn<QList<int>>("sounds");
        QTest::newRow("OK") << true << QList<int>{NothingSound, Click};
        QTest::newRow("close button") << false << QList<int>{NothingSound};
    }

    void dialogTypesAndCloses()
    {
        QFETCH(bool, byOk);
        QFETCH(QList<int>, sounds);

        test::RecordedSound recorded;
        frmGetItem dialog(nullptr, -1, recorded.sound());
        QSignalSpy closed(&dialog, &QDialog::finished);
        dialog.show();
        QVERIFY(QTest::qWaitFor([&] { return !dialog.isTyping(); }, 10000));
        QCOMPARE(dialog.messageText(), QStringLiteral("からっぽ!"));
        QCOMPARE(dialog.size(), QSize(246, 109));
        QVERIFY(!(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(closed.count(), 0);
        if (byOk) {
            QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        } else {
            dialog.close();
        }
        QCOMPARE(closed.count(), 1);
        QCOMPARE(recorded.played(), sounds);
    }
};

QTEST_MAIN(TreasureBoxDialogTest)
#include "TreasureBoxDialogTest.moc"
