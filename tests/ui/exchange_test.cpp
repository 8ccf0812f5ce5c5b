// Show and Save between the dialog values and the controls, including the "nothing
// selected" states, and the transfers to and from the working image.

#include "dialog_harness.h"

#include "device/servo_frame.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QTest>

#include <clocale>
#include <string>

class ExchangeTest : public QObject {
    Q_OBJECT

private slots:
    void init() { simReset(); }

    // The application adopts the environment's locale; a decimal comma there must not
    // reach the gear ratio.
    void numbersIgnoreADecimalCommaLocale() {
        const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
        QVERIFY2(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"),
                 "the de_DE.UTF-8 locale is missing (scripts/test generates it)");
        DialogHarness dialog;
        dialog.prompter.answers.enqueue(Prompter::Answer::Yes);
        dialog->logic().OnFileInitialize();
        dialog->logic().values().panel.unitId = 10775;
        dialog->logic().Show();
        const QString gearRatio = dialog.at<QLineEdit>(1027)->text();
        const QString unitId = dialog.at<QLineEdit>(1001)->text();
        std::setlocale(LC_NUMERIC, previous.c_str());
        QCOMPARE(gearRatio, QStringLiteral("8.00"));
        QCOMPARE(unitId, QStringLiteral("10775"));
    }

    void showThenSaveGivesTheValuesBack() {
        DialogHarness dialog;
        PanelValues& panel = dialog->logic().values().panel;
        panel.unitId = 65535;
        panel.channelMap[7] = 17;
        panel.rpmChannel = 16;
        panel.governorEnabled = 1;
        panel.controlResponse = 3;
        panel.throttleDataMode = 2;
        panel.targetRpm[2] = 5000;
        panel.gearRatio = 11.3;
        panel.limitPoint2 = 150;
        dialog->logic().values().guidance = "guide";
        dialog->logic().values().limitPointMode = 1;
        const DialogValues shown = dialog->logic().values();

        dialog->logic().Show();
        QCOMPARE(dialog.at<QComboBox>(3007)->currentText(), QStringLiteral("DG2"));
        QCOMPARE(dialog.at<QComboBox>(1004)->currentText(), QStringLiteral("DG1"));
        // The group's position 0 is its lower button.
        QVERIFY(dialog.at<QAbstractButton>(1005)->isChecked());
        QVERIFY(!dialog.at<QAbstractButton>(1006)->isChecked());
        QVERIFY(dialog.at<QAbstractButton>(1017)->isChecked());
        QVERIFY(dialog.at<QAbstractButton>(3010)->isChecked());
        QCOMPARE(dialog.at<QLineEdit>(1001)->text(), QStringLiteral("65535"));
        QCOMPARE(dialog.at<QLineEdit>(1024)->text(), QStringLiteral("5000"));
        QCOMPARE(dialog.at<QLineEdit>(1027)->text(), QStringLiteral("11.30"));
        QCOMPARE(dialog.at<QLineEdit>(1061)->text(), QStringLiteral("guide"));
        QVERIFY(dialog.at<QAbstractButton>(1051)->isChecked());

        dialog->logic().values() = {};
        QVERIFY(dialog->logic().Save());
        const DialogValues saved = dialog->logic().values();
        QCOMPARE(saved.panel.unitId, shown.panel.unitId);
        QCOMPARE(saved.panel.channelMap, shown.panel.channelMap);
        QCOMPARE(saved.panel.rpmChannel, 16);
        QCOMPARE(saved.panel.governorEnabled, 1);
        QCOMPARE(saved.panel.controlResponse, 3);
        QCOMPARE(saved.panel.throttleDataMode, 2);
        QCOMPARE(saved.panel.targetRpm, shown.panel.targetRpm);
        QCOMPARE(saved.panel.limitPoint2, 150);
        QCOMPARE(saved.guidance, std::string("guide"));
        QCOMPARE(saved.limitPointMode, 1);
        // The edit's text never changes the gear ratio; its slider does.
        QCOMPARE(saved.panel.gearRatio, 0.0);
    }

    void valuesWithoutAControlShowNothingSelectedAndSaveMinusOne() {
        DialogHarness dialog;
        PanelValues& panel = dialog->logic().values().panel;
        panel.channelMap[0] = 18;
        panel.killSwitchChannel = 255;
        panel.throttleDataMode = 3;
        panel.servoType = -1;
        dialog->logic().Show();
        QCOMPARE(dialog.at<QComboBox>(3000)->currentIndex(), -1);
        QCOMPARE(dialog.at<QComboBox>(1003)->currentIndex(), -1);
        for (int id : {3008, 3009, 3010, 1007, 1009}) {
            QVERIFY(!dialog.at<QAbstractButton>(id)->isChecked());
        }

        QVERIFY(dialog->logic().Save());
        QCOMPARE(panel.channelMap[0], -1);
        QCOMPARE(panel.killSwitchChannel, -1);
        QCOMPARE(panel.throttleDataMode, -1);
        QCOMPARE(panel.servoType, -1);

        // Packed: no channel is channel code 0, no throttle data mode is 3, and an
        // unchecked two-button group clears its bit.
        dialog->logic().kelvo().workingImage.setServoTypeBit(true);
        dialog->logic().Collect();
        const SettingsImage& image = dialog->logic().kelvo().workingImage;
        QCOMPARE(image.channelMap(0), 0);
        QCOMPARE(image.killSwitchChannel(), 0);
        QCOMPARE(image.throttleDataMode(), 3);
        QVERIFY(!image.servoTypeBit());
    }

    void saveStopsAtAnEditThatDoesNotParse_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("complaint");
        QTest::newRow("unit ID not a number") << 1001 << "x"
                                              << "Enter a positive integer.";
        QTest::newRow("unit ID too big") << 1001 << "65536"
                                         << "Enter an integer between 0 and 65535.";
        QTest::newRow("integer edit") << 1035 << "1.5"
                                      << "Enter an integer.";
    }

    void saveStopsAtAnEditThatDoesNotParse() {
        QFETCH(int, id);
        QFETCH(QString, text);
        QFETCH(QString, complaint);
        DialogHarness dialog;
        dialog.at<QLineEdit>(1067)->setText(QStringLiteral("77"));
        dialog.at<QLineEdit>(id)->setText(text);

        QVERIFY(!dialog->logic().Save());
        QCOMPARE(dialog.prompter.texts(), QStringList{complaint});
        QCOMPARE(dialog.prompter.boxes.front().icon, Prompter::Icon::Warning);
        // The exchange stopped there: a later control was not read.
        QCOMPARE(dialog->logic().values().panel.governorOnRpm, 0);
    }

    void imageToValuesAndSlidersShowTheImage() {
        DialogHarness dialog;
        SettingsImage& image = dialog->logic().kelvo().workingImage;
        image.setTargetRpm(0, 5000);
        image.setGearRatio(113);
        image.setPoleNumber(1); // below its slider's range
        image.setGovernorGain(40);
        image.setLimitPoint1(6208);
        image.setLimitPoint2(3520);
        dialog->logic().ImageToValues();
        dialog->logic().ValuesToSliders();

        QCOMPARE(dialog.at<QLineEdit>(1018)->text(), QStringLiteral("5000"));
        QCOMPARE(dialog.at<QSlider>(1046)->value(), 4000);
        QCOMPARE(dialog.at<QLineEdit>(1027)->text(), QStringLiteral("1.13"));
        QCOMPARE(dialog.at<QSlider>(1028)->value(), 113);
        QCOMPARE(dialog.at<QSlider>(1069)->value(), 2);
        QCOMPARE(dialog.at<QSlider>(1031)->value(), 40);
        QCOMPARE(dialog.at<QLineEdit>(1054)->text(), QStringLiteral("100"));
        QCOMPARE(dialog.at<QLineEdit>(1056)->text(), QStringLiteral("100"));
        // Placing the sliders is not the user's scroll: nothing was collected, so the
        // values the sliders could not show survive.
        QCOMPARE(image.targetRpm(0), 5000);
        QCOMPARE(image.poleNumber(), 1);
        QCOMPARE(dialog->logic().values().panel.targetRpm[0], 5000);
        // The servo slider is left where it stands.
        QCOMPARE(dialog.at<QSlider>(1058)->value(), 1024);
    }

    void slidersToValuesReadsEverySliderAndFeedsTheServoChannel() {
        DialogHarness dialog;
        dialog.at<QSlider>(1028)->blockSignals(true);
        dialog.at<QSlider>(1028)->setValue(2250);
        dialog.at<QSlider>(1058)->blockSignals(true);
        dialog.at<QSlider>(1058)->setValue(1100);
        ChannelValues[2] = 0;

        dialog->logic().SlidersToValues();
        const PanelValues& panel = dialog->logic().values().panel;
        QCOMPARE(panel.gearRatio, 22.5);
        QCOMPARE(dialog.at<QLineEdit>(1027)->text(), QStringLiteral("22.50"));
        // Untouched sliders stand at their lowest position.
        QCOMPARE(panel.targetRpm[1], 700);
        QCOMPARE(panel.governorOnRpm, 50);
        QCOMPARE(panel.servoPosition, 11);
        QCOMPARE(dialog.at<QLineEdit>(1057)->text(), QStringLiteral("11"));
        QCOMPARE(int(ChannelValues[2]), 1100);
    }
};

QTEST_MAIN(ExchangeTest)
#include "exchange_test.moc"
