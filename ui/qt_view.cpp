// The view the dialog logic drives, over the Qt widgets built from the table.

#include "varnel_dlg.h"

#include "prompter.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QTimer>

void VarnelDlg::setText(int id, const std::string& text) {
    controlAs<QLineEdit>(id)->setText(QString::fromStdString(text));
}

std::string VarnelDlg::text(int id) const {
    return controlAs<QLineEdit>(id)->text().toStdString();
}

void VarnelDlg::setRadioChoice(int groupId, int position) {
    QButtonGroup* group = built.radioGroups.at(groupId);
    for (QAbstractButton* button : group->buttons()) {
        button->setChecked(group->id(button) == position);
    }
}

int VarnelDlg::radioChoice(int groupId) const {
    const QButtonGroup* group = built.radioGroups.at(groupId);
    QAbstractButton* chosen = nullptr;
    for (QAbstractButton* button : group->buttons()) {
        if (button->isChecked()) {
            chosen = button;
        }
    }
    return chosen ? group->id(chosen) : -1;
}

void VarnelDlg::setComboIndex(int id, int index) {
    auto* combo = controlAs<QComboBox>(id);
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

int VarnelDlg::comboIndex(int id) const {
    return controlAs<QComboBox>(id)->currentIndex();
}

void VarnelDlg::setChecked(int id, bool checked) {
    controlAs<QAbstractButton>(id)->setChecked(checked);
}

bool VarnelDlg::checked(int id) const {
    return controlAs<QAbstractButton>(id)->isChecked();
}

void VarnelDlg::setSliderRange(int id, int minimum, int maximum, int tickSpacing) {
    auto* slider = controlAs<QSlider>(id);
    placingSliders = true;
    slider->setRange(minimum, maximum);
    placingSliders = false;
    // A click in the groove or Page Up/Down moves a fifth of the range, an arrow key
    // one step, as the desktop's track bars do by default.
    slider->setPageStep((maximum - minimum) / 5);
    slider->setSingleStep(1);
    slider->setTickInterval(tickSpacing);
}

void VarnelDlg::setSliderPosition(int id, int position) {
    placingSliders = true;
    controlAs<QSlider>(id)->setValue(position);
    placingSliders = false;
}

int VarnelDlg::sliderPosition(int id) const {
    return controlAs<QSlider>(id)->value();
}

void VarnelDlg::setControlEnabled(int id, bool enabled) {
    control(id)->setEnabled(enabled);
}

void VarnelDlg::setMenuItemEnabled(int commandId, bool enabled) {
    action(commandId)->setEnabled(enabled);
}

void VarnelDlg::focus(int id) {
    control(id)->setFocus(Qt::OtherFocusReason);
}

DialogView::Answer VarnelDlg::message(const std::string& text, Icon icon, Buttons buttons) {
    return activePrompter->message(QString::fromStdString(text), icon, buttons);
}

std::string VarnelDlg::chooseFile(FileChoice choice) {
    const QString path = choice == FileChoice::Open ? activePrompter->openFileName()
                                                    : activePrompter->saveFileName();
    return path.toStdString();
}

std::optional<std::size_t> VarnelDlg::chooseBackup(const BackupChoice& choice) {
    return activePrompter->chooseBackup(choice);
}

void VarnelDlg::showBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void VarnelDlg::beep() {
    QApplication::beep();
}

void VarnelDlg::startTicks(std::chrono::milliseconds period) {
    ticks->start(period);
}

void VarnelDlg::stopTicks() {
    ticks->stop();
}
