// The built dialog against the layout: controls, tab order, radio groups, menus,
// geometry and the names a screen reader announces.

#include "dialog_harness.h"

#include "ui/language.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSet>
#include <QSlider>
#include <QStyle>
#include <QStyleOption>
#include <QTest>

#include <vector>

namespace {

// The narrowest a label may be squeezed and still read well.
constexpr int readableStretch = 70;

// Every control with an id: its class, its text, and for radio buttons the id of its
// group's first button and its position in the group.
struct Expected {
    int id;
    const char* className;
    const char* text;
    int groupLeader = 0;
    int position = -1;
};

const Expected expectedControls[] = {
    {1001, "QLineEdit", ""},
    {1002, "QCheckBox", "Not using ID"},
    {3000, "QComboBox", ""},
    {3001, "QComboBox", ""},
    {3002, "QComboBox", ""},
    {3003, "QComboBox", ""},
    {3004, "QComboBox", ""},
    {3005, "QComboBox", ""},
    {3006, "QComboBox", ""},
    {3007, "QComboBox", ""},
    {1003, "QComboBox", ""},
    {1004, "QComboBox", ""},
    {1064, "QComboBox", ""},
    {1006, "QRadioButton", "有効", 1006, 0},
    {1005, "QRadioButton", "無効", 1006, 1},
    {1012, "QRadioButton", "無効", 1012, 0},
    {1013, "QRadioButton", "有効", 1012, 1},
    {1007, "QRadioButton", "デジタルサーボ", 1007, 0},
    {1009, "QRadioButton", "アナログサーボ", 1007, 1},
    {1014, "QRadioButton", "Moderate", 1014, 0},
    {1015, "QRadioButton", "Middle", 1014, 1},
    {1016, "QRadioButton", "Quick", 1014, 2},
    {1017, "QRadioButton", "Silent", 1014, 3},
    {1008, "QRadioButton", "レブリミットモード", 1008, 0},
    {1019, "QRadioButton", "ガバナーモード", 1008, 1},
    {1010, "QRadioButton", "メインローター", 1010, 0},
    {1011, "QRadioButton", "エンジン", 1010, 1},
    {3008, "QRadioButton", "Optimize", 3008, 0},
    {3009, "QRadioButton", "Fixed", 3008, 1},
    {3010, "QRadioButton", "Tx.Curve", 3008, 2},
    {3012, "QRadioButton", "ACT", 3012, 0},
    {3011, "QRadioButton", "INH", 3012, 1},
    {3014, "QRadioButton", "S.BUS2", 3014, 0},
    {3013, "QRadioButton", "RS485", 3014, 1},
    {3016, "QRadioButton", "ACT", 3016, 0},
    {3015, "QRadioButton", "INH", 3016, 1},
    {1018, "QLineEdit", ""},
    {1021, "QLineEdit", ""},
    {1024, "QLineEdit", ""},
    {1027, "QLineEdit", ""},
    {1043, "QLineEdit", ""},
    {1035, "QLineEdit", ""},
    {1030, "QLineEdit", ""},
    {1033, "QLineEdit", ""},
    {1062, "QLineEdit", ""},
    {1073, "QLineEdit", ""},
    {1037, "QLineEdit", ""},
    {1039, "QLineEdit", ""},
    {1065, "QLineEdit", ""},
    {1067, "QLineEdit", ""},
    {1053, "QLineEdit", ""},
    {1054, "QLineEdit", ""},
    {1055, "QLineEdit", ""},
    {1056, "QLineEdit", ""},
    {1057, "QLineEdit", ""},
    {1061, "QLineEdit", ""},
    {1046, "QSlider", ""},
    {1048, "QSlider", ""},
    {1050, "QSlider", ""},
    {1028, "QSlider", ""},
    {1069, "QSlider", ""},
    {1036, "QSlider", ""},
    {1031, "QSlider", ""},
    {1034, "QSlider", ""},
    {1063, "QSlider", ""},
    {1072, "QSlider", ""},
    {1038, "QSlider", ""},
    {1040, "QSlider", ""},
    {1044, "QSlider", ""},
    {1066, "QSlider", ""},
    {1058, "QSlider", ""},
    {1051, "QPushButton", "入力"},
    {1052, "QPushButton", "設定"},
    {1059, "QPushButton", "読み込み"},
    {1060, "QPushButton", "書き込み"},
    {1068, "QLabel", ""},
};

int idOf(const QWidget* widget) {
    const QVariant id = widget->property("controlId");
    return id.isValid() ? id.toInt() : 0;
}

bool isStatic(const QWidget* widget) {
    return qobject_cast<const QLabel*>(widget) || qobject_cast<const QGroupBox*>(widget);
}

// A text as drawn, and the room the widget's style leaves it.
struct ShownText {
    QString text;
    QRect room;
};

// Measured with the style's own geometry and the widget's own font, apart from the
// builder's estimate, so that a wrong estimate shows up as clipped text here.
std::vector<ShownText> shownTexts(QWidget* widget) {
    const QStyle* style = widget->style();
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return {{label->text(), label->contentsRect()}};
    }
    if (auto* box = qobject_cast<QGroupBox*>(widget)) {
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.textAlignment = box->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        option.lineWidth = 1;
        const QRect title =
            style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
        // The style places the title; the box keeps the same margin after it as before.
        return {{box->title(), QRect(title.left(), 0, box->width() - 2 * title.left(), 1)}};
    }
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        if (button->autoDefault()) {
            option.features |= QStyleOptionButton::AutoDefaultButton;
        }
        if (button->isDefault()) {
            option.features |= QStyleOptionButton::DefaultButton;
        }
        return {{button->text(),
                 style->subElementRect(QStyle::SE_PushButtonContents, &option, button)}};
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        // Check box or radio button: the text sits right of the indicator and its gap.
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const auto contents = qobject_cast<QRadioButton*>(button) != nullptr
                                  ? QStyle::SE_RadioButtonContents
                                  : QStyle::SE_CheckBoxContents;
        return {{button->text(), style->subElementRect(contents, &option, button)}};
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        option.frame = combo->hasFrame();
        option.subControls = QStyle::SC_All;
        const QRect field = style->subControlRect(QStyle::CC_ComboBox, &option,
                                                  QStyle::SC_ComboBoxEditField, combo);
        std::vector<ShownText> items;
        for (int i = 0; i < combo->count(); ++i) {
            items.push_back({combo->itemText(i), field});
        }
        return items;
    }
    return {};
}

int drawnWidth(const QWidget* widget, const QString& text) {
    return widget->fontMetrics().size(Qt::TextShowMnemonic, text).width();
}

} // namespace

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void init() { simReset(); }

    void controlsHaveTheirKindTextAndGroup() {
        DialogHarness dialog;
        for (const Expected& expected : expectedControls) {
            const QString where = QStringLiteral("control %1").arg(expected.id);
            QWidget* widget = dialog.at(expected.id);
            QVERIFY2(widget, qPrintable(where));
            QCOMPARE(widget->metaObject()->className(), expected.className);
            if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                QCOMPARE(button->text(), QString::fromUtf8(expected.text));
            }
            if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
                QButtonGroup* group = radio->group();
                QVERIFY2(group, qPrintable(where));
                QCOMPARE(group->id(radio), expected.position);
                QCOMPARE(group->buttons().size() > expected.position, true);
                auto* leader = dialog.at<QRadioButton>(expected.groupLeader);
                QCOMPARE(leader->group(), group);
            }
        }
        QVERIFY(dialog.at<QAbstractButton>(1051)->isCheckable());
        QVERIFY(!dialog.at(1002)->isVisibleTo(dialog->clientArea()));
        for (int id : {3000, 1064}) {
            auto* combo = dialog.at<QComboBox>(id);
            QCOMPARE(combo->count(), 18);
            QCOMPARE(combo->itemText(0), QStringLiteral("1"));
            QCOMPARE(combo->itemText(15), QStringLiteral("16"));
            QCOMPARE(combo->itemText(17), QStringLiteral("DG2"));
        }
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Varnel 4.0"));
    }

    void tabVisitsTheTabStopsInTemplateOrder() {
        DialogHarness dialog;
        const QList<int> expected{3000, 3001, 3002, 3003, 3004, 3005, 3006, 3007, 1003, 1004, 1064,
                                  1046, 1048, 1050, 1028, 1031, 1034, 1063, 1036, 1038, 1040, 1044,
                                  1066, 1058, 1001, 1061, 1051, 1052, 1059, 1060, 1069, 1072};
        QList<int> visited;
        QWidget* widget = dialog.at(3000);
        do {
            if ((widget->focusPolicy() & Qt::TabFocus) &&
                widget->isVisibleTo(dialog.dialog.get()) && idOf(widget) != 0) {
                visited.append(idOf(widget));
            }
            widget = widget->nextInFocusChain();
        } while (widget != dialog.at(3000));
        QCOMPARE(visited, expected);

        // The real keys, once every control is enabled.
        dialog->logic().SetWriteEnabled(true);
        dialog->logic().EnableLimitControls(true);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog.dialog.get()));
        dialog.at(1061)->setFocus();
        for (int next : {1051, 1052, 1059, 1060, 1069, 1072, 3000}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(idOf(QApplication::focusWidget()), next);
        }
    }

    void menusCarryTextsIdsSeparatorsAndShortcuts() {
        DialogHarness dialog;
        const QStringList expected{"ファイル(&F)",
                                   "初期化(&I)...:57600",
                                   "-",
                                   "開く(&O)...\tCtrl+O:57601:Ctrl+O",
                                   "バックアップを開く(&B)...:32773",
                                   "-",
                                   "保存(&S)\tCtrl+S:57603:Ctrl+S",
                                   "名前をつけて保存(&A)...:57604",
                                   "-",
                                   "終了(&X)\tAlt+F4:57665",
                                   "接続(&C)",
                                   "読み込み(&R)\tCtrl+R:32771:Ctrl+R",
                                   "書き込み(&W)\tCtrl+W:32772:Ctrl+W",
                                   "ヘルプ(&H)",
                                   "バージョン情報(&A):57664"};
        QStringList actual;
        const auto bar = dialog->findChild<QMenuBar*>();
        for (QAction* menu : bar->actions()) {
            actual.append(menu->text());
            for (QAction* item : menu->menu()->actions()) {
                if (item->isSeparator()) {
                    actual.append(QStringLiteral("-"));
                    continue;
                }
                QString entry = item->text() + ':' + item->property("commandId").toString();
                if (!item->shortcut().isEmpty()) {
                    entry += ':' + item->shortcut().toString();
                }
                actual.append(entry);
            }
        }
        QCOMPARE(actual, expected);
    }

    void controlsSitInsideTheFixedClientAreaWithoutOverlap() {
        DialogHarness dialog;
        const DialogUnits& units = dialog->dialogUnits();
        QWidget* client = dialog->clientArea();
        QCOMPARE(client->size(), QSize(units.x(599), units.y(444)));
        QCOMPARE(dialog.at(1046)->geometry(),
                 QRect(units.x(225), units.y(111), units.x(325) - units.x(225),
                       units.y(135) - units.y(111)));

        QList<QWidget*> interactive;
        for (QWidget* widget : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!widget->isVisibleTo(client)) {
                continue;
            }
            QVERIFY2(client->rect().contains(widget->geometry()), qPrintable(widget->objectName()));
            if (!isStatic(widget)) {
                interactive.append(widget);
            }
        }
        // The layout stacks the expert sliders 22 units apart at a height of 24; the
        // overlap is the empty strip below each slider's groove.
        const QSet<QPair<int, int>> drawnOverlapping{
            {1038, 1040}, {1040, 1044}, {1044, 1066}, {1072, 1038}};
        for (qsizetype a = 0; a < interactive.size(); ++a) {
            for (qsizetype b = a + 1; b < interactive.size(); ++b) {
                const int first = idOf(interactive[a]);
                const int second = idOf(interactive[b]);
                if (drawnOverlapping.contains({first, second}) ||
                    drawnOverlapping.contains({second, first})) {
                    continue;
                }
                QVERIFY2(!interactive[a]->geometry().intersects(interactive[b]->geometry()),
                         qPrintable(interactive[a]->objectName() + " / " +
                                    interactive[b]->objectName()));
            }
        }
    }

    // Text that needs more room than its control leaves it is cut off on screen. All
    // of them are listed at once, since one narrowing rule usually fails several. The
    // English texts are longer and must fit the same rectangles.
    void noTextIsCutOff_data() {
        QTest::addColumn<bool>("english");
        QTest::newRow("Japanese") << false;
        QTest::newRow("English") << true;
    }

    void noTextIsCutOff() {
        QFETCH(bool, english);
        QVERIFY(useLanguage(english ? Language::English : Language::Japanese));
        const auto backToJapanese = qScopeGuard([] { useLanguage(Language::Japanese); });
        DialogHarness dialog;
        QStringList clipped;
        for (QWidget* widget : dialog->clientArea()->findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(dialog->clientArea())) {
                continue;
            }
            for (const ShownText& shown : shownTexts(widget)) {
                const int needed = drawnWidth(widget, shown.text);
                if (needed > shown.room.width()) {
                    clipped.append(QStringLiteral("%1 \"%2\": %3 px in %4 px")
                                       .arg(widget->objectName(), shown.text)
                                       .arg(needed)
                                       .arg(shown.room.width()));
                }
                // Squeezed to fit, but no further than still reads well.
                const int stretch = widget->font().stretch();
                if (stretch != 0 && stretch < readableStretch) {
                    clipped.append(QStringLiteral("%1 \"%2\": narrowed to %3 %")
                                       .arg(widget->objectName(), shown.text)
                                       .arg(stretch));
                }
            }
        }
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral("; "))));
    }

    void everyValueControlIsNamedByItsLabel() {
        DialogHarness dialog;
        const QList<QPair<int, QString>> names{{1018, "回転数設定1"},
                                               {1046, "回転数設定1"},
                                               {1043, "ポールナンバー"},
                                               {1069, "ポールナンバー"},
                                               {1073, "フィードフォワードサイクリック"},
                                               {3000, "CH1"},
                                               {3007, "CH8"},
                                               {1003, "キルスイッチ"},
                                               {1064, "ガバナON/OFF"},
                                               {1057, "サーボ位置"},
                                               {1058, "サーボ位置"},
                                               {1001, "ID"}};
        for (const auto& [id, name] : names) {
            QCOMPARE(dialog.at(id)->accessibleName(), name);
        }
        for (QWidget* widget : dialog->clientArea()->findChildren<QWidget*>()) {
            if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QSlider*>(widget) ||
                qobject_cast<QComboBox*>(widget)) {
                QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(widget->objectName()));
            }
        }
    }
};

QTEST_MAIN(LayoutTest)
#include "layout_test.moc"
