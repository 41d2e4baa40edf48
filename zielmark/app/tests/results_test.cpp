// The "Orbiter to Google Earth" page driven through its controls: both sources, figures, diagram, saving.
#include "CanvasImage.h"
#include "Dlg_Main.h"
#include "Fixture.h"
#include "ResultsPage.h"
#include "ScriptedPrompt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

bool HasColour(const QImage& image, const QColor& colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour) return true;
    return false;
}

void TypeInto(QLineEdit* edit, const QString& keys) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, keys);
}

QByteArray OtherFlight() {
    return TFixture::ResultScenario().replace("Bornholm", "Gdansk");
}

// A window open on the results page with the fixture's flight as the current state; `prepare` adds files
// before it opens.
struct TResultsWindow {
    TFixture Fx;
    TScriptedPrompt Prompt;
    std::unique_ptr<TDlgMain> Window;
    TOrbToGePage* Page = nullptr;

    explicit TResultsWindow(const std::function<void(const TFixture&)>& prepare = {}) {
        TFixture::WriteFile(Fx.ScenarioRoot() + "(Current state).scn", TFixture::ResultScenario());
        if (prepare) prepare(Fx);
        Fx.WriteIni(2);
        Window = std::make_unique<TDlgMain>(Fx.Ini(), Prompt);
        Window->show();
        Page = Window->tabOrbToGE;
    }
    bool Exposed() const { return QTest::qWaitForWindowExposed(Window.get()); }
};

} // namespace

class TResultsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { StartAsTheProgram(); }

    void RecentFlightFiguresDiagramAndSave() {
        TFixture fx;
        TFixture::WriteFile(fx.ScenarioRoot() + "(Current state).scn", TFixture::ResultScenario());
        TFixture::WriteFile(fx.ResultsDir() + "old.scn", OtherFlight());
        fx.WriteIni(2);
        TScriptedPrompt prompt;
        TDlgMain window(fx.Ini(), prompt);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        TOrbToGePage* page = window.tabOrbToGE;
        QCOMPARE(window.pcMain->currentIndex(), 2);
        // Both sources: the recent flight wins, the saved copy waits preselected in the disabled list.
        QVERIFY(page->rbNewOrbResFile->isChecked());
        QVERIFY(page->rbSavedOrbResFile->isEnabled());
        QVERIFY(!page->cbSavedOrbResFiles->isEnabled());
        QCOMPARE(page->cbSavedOrbResFiles->currentText(), QString("old.scn"));
        QCOMPARE(Items(page->lbOrbResults), (QStringList{"Tesk_1 to Bornholm", "Tesk_3 to Oeland"}));
        QCOMPARE(page->lbOrbResults->currentRow(), 0);
        QCOMPARE(page->lblRangeMiss->text(), QString("1000"));
        QCOMPARE(page->lblLongitudalMiss->text(), QString("801"));
        QCOMPARE(page->lblLateralMiss->text(), QString("600"));
        QCOMPARE(page->lblActualRange->text(), QString("132000"));
        QCOMPARE(page->lblFailure->text(), QString());
        const QImage chart = page->imgChart->Canvas();
        QVERIFY(HasColour(chart, Qt::red));  // the impact
        QVERIFY(HasColour(chart, Qt::blue)); // the lateral miss and the foot point
        page->lbOrbResults->setCurrentRow(1);
        QCOMPARE(page->lblFailure->text(), QString("Failure: Engine lost thrust"));

        // The save name: an invalid one disables "Save!", a valid one enables it.
        TypeInto(page->cbResultFiles->lineEdit(), "x|y");
        QVERIFY(!page->btnSaveGEFile->isEnabled());
        TypeInto(page->cbResultFiles->lineEdit(), "flight7.scn");
        QVERIFY(page->btnSaveGEFile->isEnabled());
        prompt.Answers = {true, true};
        QTest::mouseClick(page->btnSaveGEFile, Qt::LeftButton);
        QCOMPARE(prompt.Questions,
                 (QStringList{"Create new Google Earth file?\n" + fx.ResultsDir() + "flight7.kml",
                              "Create a copy of autosaved Orbiter scenario file?\n" + fx.ResultsDir() +
                                  "flight7.scn"}));
        QVERIFY(prompt.Errors.isEmpty());
        const QByteArray kml = TFixture::ReadFile(fx.ResultsDir() + "flight7.kml");
        QVERIFY(kml.contains("<name>flight7.kml</name>"));
        QVERIFY(kml.contains("Tesk_1 to Bornholm"));
        QVERIFY(kml.contains("Tesk_3 to Oeland"));
        QCOMPARE(TFixture::ReadFile(fx.ResultsDir() + "flight7.scn"), TFixture::ResultScenario());
        QCOMPARE(page->cbResultFiles->currentText(), QString("flight7"));
        QVERIFY(Items(page->cbResultFiles).contains("flight7"));
        QCOMPARE(Items(page->cbSavedOrbResFiles), (QStringList{"flight7.scn", "old.scn"}));
        QCOMPARE(page->cbSavedOrbResFiles->currentText(), QString("old.scn"));
        QCOMPARE(Items(page->lbOrbResults).size(), 2); // the list is not read again

        // A new firing saved a new current state: "Save!" shows it first and writes nothing, so that no file
        // describes a firing the page did not show.
        TFixture::WriteFile(fx.ScenarioRoot() + "(Current state).scn", OtherFlight());
        prompt.Questions.clear();
        QTest::mouseClick(page->btnSaveGEFile, Qt::LeftButton);
        QVERIFY(prompt.Questions.isEmpty());
        QCOMPARE(prompt.Infos.size(), 1);
        QVERIFY2(prompt.Infos[0].contains("(Current state).scn\" has changed since it was read"),
                 qPrintable(prompt.Infos[0]));
        QCOMPARE(Items(page->lbOrbResults), (QStringList{"Tesk_1 to Gdansk", "Tesk_3 to Oeland"}));
        QCOMPARE(page->cbResultFiles->currentText(), QString("flight7"));
        QVERIFY(page->btnSaveGEFile->isEnabled());
        // Saving again asks to overwrite; No to both leaves both files as they are.
        prompt.Answers = {false, false};
        QTest::mouseClick(page->btnSaveGEFile, Qt::LeftButton);
        QCOMPARE(
            prompt.Questions,
            (QStringList{"Google Earth file already exists. Overwrite?\n" + fx.ResultsDir() + "flight7.kml",
                         "Scenaio file copy with the given name already exists. Overwrite?\n" +
                             fx.ResultsDir() + "flight7.scn"}));
        QCOMPARE(TFixture::ReadFile(fx.ResultsDir() + "flight7.kml"), kml);
        QCOMPARE(TFixture::ReadFile(fx.ResultsDir() + "flight7.scn"), TFixture::ResultScenario());

        // The previous flight: its copy is read, and no scenario copy is offered on saving.
        QTest::mouseClick(page->rbSavedOrbResFile, Qt::LeftButton, {}, QPoint(7, 7));
        QVERIFY(page->cbSavedOrbResFiles->isEnabled());
        QVERIFY(!page->lblCurrentState->isEnabled());
        QCOMPARE(Items(page->lbOrbResults), (QStringList{"Tesk_1 to Gdansk", "Tesk_3 to Oeland"}));
        TypeInto(page->cbResultFiles->lineEdit(), "old-flight");
        prompt.Questions.clear();
        prompt.Answers = {true};
        QTest::mouseClick(page->btnSaveGEFile, Qt::LeftButton);
        QCOMPARE(prompt.Questions,
                 QStringList{"Create new Google Earth file?\n" + fx.ResultsDir() + "old-flight.kml"});
        QVERIFY(TFixture::ReadFile(fx.ResultsDir() + "old-flight.kml").contains("Tesk_1 to Gdansk"));
        QVERIFY(!QFile::exists(fx.ResultsDir() + "old-flight.scn"));
        window.close();
    }

    // "Also save a replay": "Save!" asks for the replay after the KML file and writes it beside it; a wreck
    // saved without its launch date is left out, and the user is told which and why.
    void SaveWritesTheReplayOnRequest() {
        TResultsWindow w([](const TFixture& fx) {
            TFixture::WriteFile(fx.ScenarioRoot() + "(Current state).scn",
                                TFixture::ResultScenario().replace(
                                    "  TARGET Bornholm\r\n", "  MJD_LAUNCH 61384.25\r\n  FLIGHT_TIME 2.5\r\n"
                                                             "  TARGET Bornholm\r\n"));
        });
        QVERIFY(w.Exposed());
        TOrbToGePage* page = w.Page;
        QVERIFY(!page->chbSaveReplay->isChecked()); // as before unless asked for
        page->chbSaveReplay->click();
        TypeInto(page->cbResultFiles->lineEdit(), "flight8");
        w.Prompt.Answers = {true, true, false};
        QTest::mouseClick(page->btnSaveGEFile, Qt::LeftButton);
        const QString dir = w.Fx.ResultsDir();
        QCOMPARE(w.Prompt.Questions,
                 (QStringList{"Create new Google Earth file?\n" + dir + "flight8.kml",
                              "Create new Google Earth replay file?\n" + dir + "flight8-replay.kml",
                              "Create a copy of autosaved Orbiter scenario file?\n" + dir + "flight8.scn"}));
        QVERIFY2(w.Prompt.Errors.isEmpty(), qPrintable(w.Prompt.Errors.join("\n")));
        const QByteArray replay = TFixture::ReadFile(dir + "flight8-replay.kml");
        QVERIFY(replay.contains("<Folder><name>Tesk_1-Wreck</name>"));
        QVERIFY(replay.contains("<when>2026-12-10T06:00:00.000Z</when>"));
        QVERIFY(!replay.contains("<Folder><name>Tesk_3-Wreck</name>"));
        QCOMPARE(w.Prompt.Infos.size(), 1);
        QVERIFY2(w.Prompt.Infos[0].contains("- Tesk_3-Wreck: no launch date"), qPrintable(w.Prompt.Infos[0]));
        // The result KML is the one it always was.
        QVERIFY(!TFixture::ReadFile(dir + "flight8.kml").contains("gx:"));

        TypeInto(page->cbResultFiles->lineEdit(), "flight8");
        w.Prompt.Questions.clear();
        w.Prompt.Answers = {false, false, false};
        QTest::mouseClick(page->btnSaveGEFile, Qt::LeftButton);
        QCOMPARE(w.Prompt.Questions.value(1),
                 "Google Earth replay file already exists. Overwrite?\n" + dir + "flight8-replay.kml");
        QCOMPARE(TFixture::ReadFile(dir + "flight8-replay.kml"), replay);
        w.Window->close();
    }

    // "Save!" is enabled only for a name that saves a visible file, whoever last changed the box: the page
    // empties it after every read.
    void SaveNeedsANameThatIsNotHidden() {
        TResultsWindow w(
            [](const TFixture& fx) { TFixture::WriteFile(fx.ResultsDir() + "old.scn", OtherFlight()); });
        QVERIFY(w.Exposed());
        TOrbToGePage* page = w.Page;
        QVERIFY(!page->btnSaveGEFile->isEnabled());
        const struct {
            const char* Name;
            bool Enabled;
        } cases[] = {{"flight7", true}, {"", false},    {".kml", false}, {".scn", false},  {"sub/", false},
                     {"a.b", true},     {"x|y", false}, {"   ", false},  {"  .kml", false}};
        for (const auto& c : cases) {
            TypeInto(page->cbResultFiles->lineEdit(), c.Name);
            QVERIFY2(page->btnSaveGEFile->isEnabled() == c.Enabled, c.Name);
        }
        // A valid name, then another source: the page empties the box, and "Save!" goes off with it.
        TypeInto(page->cbResultFiles->lineEdit(), "flight7");
        QTest::mouseClick(page->rbSavedOrbResFile, Qt::LeftButton, {}, QPoint(7, 7));
        QCOMPARE(page->cbResultFiles->currentText(), QString());
        QVERIFY(!page->btnSaveGEFile->isEnabled());
        QTest::mouseClick(page->btnSaveGEFile, Qt::LeftButton);
        QVERIFY(w.Prompt.Questions.isEmpty());
        QVERIFY(!QFile::exists(w.Fx.ResultsDir() + ".kml"));
    }

    // Our result KML files are offered for overwriting, also without a scenario copy of the same name; the
    // planning files in the same folder are not.
    void ResultKmlFilesAreOfferedForOverwriting() {
        TResultsWindow w([](const TFixture& fx) {
            QFile::copy(QString(ZIELMARK_SOURCE_DIR) + "/examples/desert_range.kml",
                        fx.ResultsDir() + "desert_range.kml");
        });
        QVERIFY(w.Exposed());
        TOrbToGePage* page = w.Page;
        QVERIFY(QFile::exists(w.Fx.ResultsDir() + "desert_range.kml"));
        QCOMPARE(Items(page->cbResultFiles), QStringList());
        TypeInto(page->cbResultFiles->lineEdit(), "salvo");
        w.Prompt.Answers = {true, false}; // the KML file only
        QTest::mouseClick(page->btnSaveGEFile, Qt::LeftButton);
        QVERIFY(QFile::exists(w.Fx.ResultsDir() + "salvo.kml"));
        QVERIFY(!QFile::exists(w.Fx.ResultsDir() + "salvo.scn"));
        QCOMPARE(Items(page->cbResultFiles), QStringList{"salvo"});
        QCOMPARE(page->cbResultFiles->currentText(), QString("salvo"));
        QVERIFY(page->btnSaveGEFile->isEnabled());
    }

    // The page notices a new firing: when the window or the page comes to the front, the scenario it shows
    // is read again when it has changed, and the KML file and the copy are made from the same bytes.
    void ANewFiringIsReadWhenTheWindowOrThePageComesBack() {
        TResultsWindow w;
        QVERIFY(w.Exposed());
        TOrbToGePage* page = w.Page;
        QCOMPARE(Items(page->lbOrbResults), (QStringList{"Tesk_1 to Bornholm", "Tesk_3 to Oeland"}));
        const QString current = w.Fx.ScenarioRoot() + "(Current state).scn";
        // The page comes back: read again.
        TFixture::WriteFile(current, OtherFlight());
        w.Window->pcMain->setCurrentIndex(TDlgMain::PageSetup);
        QCOMPARE(Items(page->lbOrbResults).first(), QString("Tesk_1 to Bornholm")); // not shown: not read
        w.Window->pcMain->setCurrentIndex(TDlgMain::PageOrbToGE);
        QCOMPARE(Items(page->lbOrbResults), (QStringList{"Tesk_1 to Gdansk", "Tesk_3 to Oeland"}));
        // The window comes back from another one.
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        const QByteArray third = TFixture::ResultScenario().replace("Bornholm", "Visby");
        TFixture::WriteFile(current, third);
        w.Window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.Window.get()));
        QCOMPARE(Items(page->lbOrbResults), (QStringList{"Tesk_1 to Visby", "Tesk_3 to Oeland"}));
        QVERIFY(w.Prompt.Errors.isEmpty() && w.Prompt.Infos.isEmpty());
        // The copy is what was read, even when a new firing saves while the questions are asked.
        TypeInto(page->cbResultFiles->lineEdit(), "salvo");
        w.Prompt.Answers = {true, true};
        w.Prompt.WhileAsked = [&](const QString& question) {
            if (question.startsWith("Create a copy")) TFixture::WriteFile(current, OtherFlight());
        };
        QTest::mouseClick(page->btnSaveGEFile, Qt::LeftButton);
        w.Prompt.WhileAsked = nullptr;
        QVERIFY(TFixture::ReadFile(w.Fx.ResultsDir() + "salvo.kml").contains("Tesk_1 to Visby"));
        QCOMPARE(TFixture::ReadFile(w.Fx.ResultsDir() + "salvo.scn"), third);
    }

    // The keyboard reaches every control of the page and uses it: the source, the wreck list, the name,
    // "Save!".
    void TheKeyboardReachesAndUsesEveryControl() {
        TResultsWindow w(
            [](const TFixture& fx) { TFixture::WriteFile(fx.ResultsDir() + "old.scn", OtherFlight()); });
        QVERIFY(w.Exposed());
        w.Window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.Window.get()));
        TOrbToGePage* page = w.Page;
        page->rbNewOrbResFile->setFocus(Qt::TabFocusReason);
        QList<QWidget*> visited;
        for (int i = 0; i < 12; ++i) {
            QWidget* focus = QApplication::focusWidget();
            while (focus && focus->parentWidget() && qobject_cast<QComboBox*>(focus->parentWidget()))
                focus = focus->parentWidget(); // an editable combo box's own line edit stands for it
            visited << focus;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        for (QWidget* control :
             {static_cast<QWidget*>(page->rbNewOrbResFile), static_cast<QWidget*>(page->lbOrbResults),
              static_cast<QWidget*>(page->cbResultFiles)})
            QVERIFY2(visited.contains(control), control->metaObject()->className());
        // The arrow keys choose the source and the wreck.
        page->lbOrbResults->setFocus(Qt::TabFocusReason);
        QTest::keyClick(page->lbOrbResults, Qt::Key_Down);
        QCOMPARE(page->lblFailure->text(), QString("Failure: Engine lost thrust"));
        page->rbNewOrbResFile->setFocus(Qt::TabFocusReason);
        QTest::keyClick(page->rbNewOrbResFile, Qt::Key_Down);
        QVERIFY(page->rbSavedOrbResFile->isChecked());
        QCOMPARE(Items(page->lbOrbResults), (QStringList{"Tesk_1 to Gdansk", "Tesk_3 to Oeland"}));
        QVERIFY(visited.contains(page->cbResultFiles));
        page->cbResultFiles->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(QApplication::focusWidget(), "keys");
        QVERIFY(page->btnSaveGEFile->isEnabled());
        w.Prompt.Answers = {true};
        page->btnSaveGEFile->setFocus(Qt::TabFocusReason);
        QTest::keyClick(page->btnSaveGEFile, Qt::Key_Space);
        QVERIFY(QFile::exists(w.Fx.ResultsDir() + "keys.kml"));
    }

    // After saves that failed (the results folder is gone), "Previous flights" has no copy to offer and is
    // off; the name typed stays for another try; and the page never shows the current state's wrecks under
    // "Previous flights".
    void FailedSavesKeepTheNameAndOfferNoEmptySource() {
        TResultsWindow w(
            [](const TFixture& fx) { TFixture::WriteFile(fx.ResultsDir() + "old.scn", OtherFlight()); });
        QVERIFY(w.Exposed());
        TOrbToGePage* page = w.Page;
        QVERIFY(page->rbSavedOrbResFile->isEnabled());
        QVERIFY(QDir(w.Fx.ResultsDir()).removeRecursively());
        TypeInto(page->cbResultFiles->lineEdit(), "flight8");
        w.Prompt.Answers = {true, true};
        QTest::mouseClick(page->btnSaveGEFile, Qt::LeftButton);
        QCOMPARE(w.Prompt.Errors.size(), 2); // the KML file and the copy
        QCOMPARE(page->cbResultFiles->currentText(), QString("flight8"));
        QVERIFY(page->btnSaveGEFile->isEnabled());
        QCOMPARE(page->cbSavedOrbResFiles->count(), 0);
        QVERIFY(!page->rbSavedOrbResFile->isEnabled());
        QVERIFY(page->rbNewOrbResFile->isChecked());
        QCOMPARE(Items(page->lbOrbResults).size(), 2);
    }

    void APreviousFlightThatIsGoneShowsNoOtherWrecks() {
        TResultsWindow w(
            [](const TFixture& fx) { TFixture::WriteFile(fx.ResultsDir() + "old.scn", OtherFlight()); });
        QVERIFY(w.Exposed());
        TOrbToGePage* page = w.Page;
        QVERIFY(QFile::remove(w.Fx.ResultsDir() + "old.scn"));
        QTest::mouseClick(page->rbSavedOrbResFile, Qt::LeftButton, {}, QPoint(7, 7));
        QVERIFY(page->rbSavedOrbResFile->isChecked());
        QCOMPARE(Items(page->lbOrbResults), QStringList());
        QCOMPARE(page->lblRangeMiss->text(), QString());
        // Back to the recent flight: its wrecks again.
        QTest::mouseClick(page->rbNewOrbResFile, Qt::LeftButton, {}, QPoint(7, 7));
        QCOMPARE(Items(page->lbOrbResults).size(), 2);
    }

    // The distance labels never hide the marks: a miss of 19,380 m with a lateral miss of 367 m puts the
    // lateral label over the impact and the foot point, and both circles are still drawn.
    void LabelsNeverHideTheMarks() {
        TResultsWindow w([](const TFixture& fx) {
            QByteArray text = TFixture::ResultScenario();
            text.replace("RANGE_MISS 1000", "RANGE_MISS 19380")
                .replace("AZIMUTH_MISS 90", "AZIMUTH_MISS 42.1")
                .replace("LATERAL_MISS 600.4", "LATERAL_MISS 367")
                .replace("LONGITUDAL_MISS 800.6", "LONGITUDAL_MISS 19376.5");
            TFixture::WriteFile(fx.ScenarioRoot() + "(Current state).scn", text);
        });
        QVERIFY(w.Exposed());
        TOrbToGePage* page = w.Page;
        QCOMPARE(page->lblLateralMiss->text(), QString("367"));
        const QImage chart = page->imgChart->Canvas();
        QVERIFY(HasColour(chart, Qt::red));  // the impact
        QVERIFY(HasColour(chart, Qt::blue)); // the foot point and the lateral miss
        QVERIFY(HasColour(chart, Qt::black));
    }

    void OnlySavedCopiesAndABadNumber() {
        TFixture fx;
        TFixture::WriteFile(fx.ResultsDir() + "bad.scn", TFixture::ResultScenario(true));
        TFixture::WriteFile(fx.ResultsDir() + "good.scn", OtherFlight());
        QFile old(fx.ResultsDir() + "bad.scn");
        QVERIFY(old.open(QIODevice::ReadWrite));
        QVERIFY(
            old.setFileTime(QDateTime::currentDateTime().addSecs(-600), QFileDevice::FileModificationTime));
        old.close();
        fx.WriteIni(2);
        TScriptedPrompt prompt;
        TDlgMain window(fx.Ini(), prompt);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        TOrbToGePage* page = window.tabOrbToGE;
        QVERIFY(!page->rbNewOrbResFile->isEnabled());
        QVERIFY(!page->rbNewOrbResFile->isChecked());
        QVERIFY(page->rbSavedOrbResFile->isChecked());
        QCOMPARE(page->cbSavedOrbResFiles->currentText(), QString("good.scn")); // the newest copy
        QCOMPARE(Items(page->lbOrbResults), (QStringList{"Tesk_1 to Gdansk", "Tesk_3 to Oeland"}));
        QVERIFY(prompt.Errors.isEmpty());

        // A value that is not a number stops the reading with a message naming the file; the wrecks read
        // before it stay listed and the window goes on.
        page->cbSavedOrbResFiles->setCurrentIndex(page->cbSavedOrbResFiles->findText("bad.scn"));
        emit page->cbSavedOrbResFiles->activated(page->cbSavedOrbResFiles->currentIndex());
        QCOMPARE(prompt.Errors.size(), 1);
        QVERIFY2(prompt.Errors[0].contains("bad.scn"), qPrintable(prompt.Errors[0]));
        QCOMPARE(Items(page->lbOrbResults), QStringList{"Tesk_1 to Bornholm"});
        QCOMPARE(page->lbOrbResults->currentRow(), -1);
        page->cbSavedOrbResFiles->setCurrentIndex(page->cbSavedOrbResFiles->findText("good.scn"));
        emit page->cbSavedOrbResFiles->activated(page->cbSavedOrbResFiles->currentIndex());
        QCOMPARE(page->lbOrbResults->count(), 2);
        window.close();
    }
};

QTEST_MAIN(TResultsTest)
#include "results_test.moc"
