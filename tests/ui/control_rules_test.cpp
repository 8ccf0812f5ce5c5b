// What the user's changes to radio buttons, combo boxes and sliders do to the values
// and the working image, the control response presets, and the enable rules.

#include "dialog_harness.h"

#include "settings/scales.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>

#include "settings/factory_defaults.h"

namespace {

// A dialog showing the factory settings, as after Initialize.
void showFactorySettings(VarnelDlg& dialog) {
    applyFactoryDefaults(dialog.logic().kelvo().workingImage);
    dialog.logic().ImageToValues();
    dialog.logic().ValuesToSliders();
    dialog.logic().RefreshLimitLabels();
}

} // namespace

class ControlRulesTest : public QObject {
    Q_OBJECT

private slots:
    void init() { simReset(); }

    void presetSetsCodeAndGainAndKeepsOtherEdits_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("gain");
        QTest::newRow("Moderate") << 1014 << 0 << 30;
        QTest::newRow("Middle") << 1015 << 1 << 40;
        QTest::newRow("Quick") << 1016 << 2 << 60;
        QTest::newRow("Silent") << 1017 << 3 << 10;
    }

    void presetSetsCodeAndGainAndKeepsOtherEdits() {
        QFETCH(int, button);
        QFETCH(int, code);
        QFETCH(int, gain);
        DialogHarness dialog;
        showFactorySettings(*dialog);
        // The moved gain is collected at once; the preset must still win over it.
        QTest::keyClick(dialog.at<QSlider>(1031), Qt::Key_End);

        // The second click hits an already checked button and still applies the preset.
        for (int click = 0; click < 2; ++click) {
            dialog.at<QAbstractButton>(button)->click();
            const SettingsImage& image = dialog->logic().kelvo().workingImage;
            QCOMPARE(int(image.controlResponse()), code);
            QCOMPARE(int(image.governorGain()), gain);
            QCOMPARE(dialog.at<QSlider>(1031)->value(), gain);
            QCOMPARE(dialog.at<QLineEdit>(1030)->text(), QString::number(gain));
            QVERIFY(dialog.at<QAbstractButton>(button)->isChecked());
        }
    }

    void modeClickKeepsAMovedGainAndCollectsTheNewMode() {
        DialogHarness dialog;
        showFactorySettings(*dialog);
        auto* gain = dialog.at<QSlider>(1031);
        const int moved = gain->value() + 1;
        QTest::keyClick(gain, Qt::Key_Right);

        dialog.at<QAbstractButton>(3009)->click(); // throttle data mode "Fixed"
        dialog.at<QAbstractButton>(1005)->click(); // governor "無効"
        const SettingsImage& image = dialog->logic().kelvo().workingImage;
        QCOMPARE(int(image.throttleDataMode()), 1);
        QVERIFY(!image.governorEnabledBit());
        QCOMPARE(int(image.governorGain()), moved);
        QCOMPARE(gain->value(), moved);
        QCOMPARE(dialog.at<QLineEdit>(1030)->text(), QString::number(moved));
        // No setting control follows the governor's state.
        for (QWidget* widget : dialog->clientArea()->findChildren<QWidget*>()) {
            const int id = widget->property("controlId").toInt();
            if (id != 0 && id != 1051 && id != 1052 && id != 1058 && id != 1060) {
                QVERIFY2(widget->isEnabled(), qPrintable(widget->objectName()));
            }
        }
    }

    void channelChoiceReachesTheImageAtOnce_data() {
        QTest::addColumn<int>("combo");
        QTest::addColumn<int>("offset");
        for (int output = 0; output < 8; ++output) {
            QTest::addRow("CH%d", output + 1) << 3000 + output << 6 + output;
        }
        QTest::newRow("kill switch") << 1003 << 14;
        QTest::newRow("speed") << 1004 << 15;
        QTest::newRow("governor on/off") << 1064 << 16;
    }

    void channelChoiceReachesTheImageAtOnce() {
        QFETCH(int, combo);
        QFETCH(int, offset);
        DialogHarness dialog;
        showFactorySettings(*dialog);
        auto* box = dialog.at<QComboBox>(combo);
        const int chosen = box->currentIndex() == 17 ? 16 : box->currentIndex() + 1;
        QTest::keyClick(box, box->currentIndex() == 17 ? Qt::Key_Up : Qt::Key_Down);
        QCOMPARE(int(dialog->logic().kelvo().workingImage.raw()[std::size_t(offset)]), chosen);
    }

    void everyKindOfUserScrollIsCollected_data() {
        QTest::addColumn<int>("input");
        QTest::newRow("arrow key") << 0;
        QTest::newRow("page key") << 1;
        QTest::newRow("end key") << 2;
        QTest::newRow("wheel") << 3;
        QTest::newRow("click on the groove") << 4;
        QTest::newRow("drag") << 5;
    }

    // A click in the groove moves a fifth of the range (the 700-4000 rpm sliders by 660
    // rpm, not 10), an arrow key one step.
    void slidersStepByAFifthOfTheirRange() {
        DialogHarness dialog;
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.dialog.get()));
        dialog->logic().values().limitPointMode = 1;
        dialog->logic().EnableLimitControls(true);
        for (const SliderSetup& setup : sliderTable) {
            auto* slider = dialog.at<QSlider>(setup.id);
            const int fifth = (setup.maximum - setup.minimum) / 5;
            slider->setValue(setup.minimum);
            QTest::mouseClick(slider, Qt::LeftButton, {},
                              {slider->width() - 4, handleCentre(slider).y()});
            QCOMPARE(slider->value(), setup.minimum + fifth);
            QTest::keyClick(slider, Qt::Key_Right);
            QCOMPARE(slider->value(), setup.minimum + fifth + 1);
        }
        QCOMPARE(dialog.at<QSlider>(1046)->pageStep(), 660);
    }

    void everyKindOfUserScrollIsCollected() {
        QFETCH(int, input);
        DialogHarness dialog;
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.dialog.get()));
        auto* slider = dialog.at<QSlider>(1034); // low limit hovering, 0..80
        const QPoint middle = slider->rect().center();
        const QPoint handle = handleCentre(slider);
        switch (input) {
        case 0:
            QTest::keyClick(slider, Qt::Key_Right);
            break;
        case 1:
            QTest::keyClick(slider, Qt::Key_PageUp);
            break;
        case 2:
            QTest::keyClick(slider, Qt::Key_End);
            break;
        case 3: {
            QWheelEvent wheel(QPointF(middle), slider->mapToGlobal(QPointF(middle)), {}, {0, 120},
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(slider, &wheel);
            break;
        }
        case 4:
            QTest::mouseClick(slider, Qt::LeftButton, {}, {slider->width() - 10, handle.y()});
            break;
        case 5:
            QTest::mousePress(slider, Qt::LeftButton, {}, handle);
            QTest::mouseMove(slider, {middle.x(), handle.y()});
            QTest::mouseRelease(slider, Qt::LeftButton, {}, {middle.x(), handle.y()});
            break;
        }
        const int position = slider->value();
        QVERIFY(position > 0);
        const SettingsImage& image = dialog->logic().kelvo().workingImage;
        QCOMPARE(int(image.lowLimitHover()), position);
        QCOMPARE(dialog.at<QLineEdit>(1033)->text(), QString::number(position));
        // Before anything was loaded, every other slider gives its lowest position.
        QCOMPARE(int(image.targetRpm(1)), 700);
        QCOMPARE(int(image.gearRatio()), 100);
    }

    void writeControlsFollowARead_LimitControlsFollowTheMode() {
        DialogHarness dialog;
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog.dialog.get()));
        QAction* write = dialog->action(32772);
        QSignalSpy writes(write, &QAction::triggered);
        const auto enabled = [&](int id) { return dialog.at(id)->isEnabled(); };

        QVERIFY(!enabled(1060) && !enabled(1051) && !write->isEnabled());
        QVERIFY(!enabled(1058) && !enabled(1052));
        QTest::keyClick(dialog.at(3000), Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(writes.count(), 0);

        dialog->logic().SetWriteEnabled(true);
        QVERIFY(enabled(1060) && enabled(1051) && write->isEnabled());
        QVERIFY(!enabled(1058) && !enabled(1052));
        QTest::keyClick(dialog.at(3000), Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(writes.count(), 1);

        dialog->logic().EnableLimitControls(true);
        QVERIFY(enabled(1058) && enabled(1052));
        dialog->logic().EnableLimitControls(false);
        QVERIFY(!enabled(1058) && !enabled(1052) && enabled(1060));
    }
};

QTEST_MAIN(ControlRulesTest)
#include "control_rules_test.moc"
