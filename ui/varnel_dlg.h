#pragma once

#include "dialog_builder.h"

#include "dialog/dialog_logic.h"
#include "dialog/dialog_view.h"

#include <QDialog>
#include <QString>

#include <map>
#include <memory>

class Prompter;
class QAction;
class QMenuBar;
class QTimer;

// The Qt face of the main dialog: the window built from the control and menu tables,
// the view the dialog logic drives, and the routes from the user's input to it.
class VarnelDlg : public QDialog, public DialogView {
    Q_OBJECT

public:
    // The services are always given: a default-constructible dialog gets a default
    // constructor registered by moc, whose inlined temporaries GCC 12 at -O3 takes for
    // uninitialised (-Wmaybe-uninitialized). A null prompter: the desktop's message
    // boxes and file dialogs.
    explicit VarnelDlg(DialogServices services, Prompter* prompter = nullptr,
                       QWidget* parent = nullptr);
    ~VarnelDlg() override;

    // What the dialog runs before it first shows: the logic's start-up. A failed
    // connect ends the dialog here, and exec() then returns at once.
    void initialize();
    int exec() override;
    bool ended() const { return hasEnded; }

    DialogLogic& logic() { return dialogLogic; }
    QWidget* control(int id) const;
    template <class Widget> Widget* controlAs(int id) const {
        return qobject_cast<Widget*>(control(id));
    }
    QAction* action(int commandId) const;
    QWidget* clientArea() const { return client; }
    const DialogUnits& dialogUnits() const { return units; }
    Prompter& prompter() const { return *activePrompter; }

    // DialogView
    void setText(int id, const std::string& text) override;
    std::string text(int id) const override;
    void setRadioChoice(int groupId, int position) override;
    int radioChoice(int groupId) const override;
    void setComboIndex(int id, int index) override;
    int comboIndex(int id) const override;
    void setChecked(int id, bool checked) override;
    bool checked(int id) const override;
    void setSliderRange(int id, int minimum, int maximum, int tickSpacing) override;
    void setSliderPosition(int id, int position) override;
    int sliderPosition(int id) const override;
    void setControlEnabled(int id, bool enabled) override;
    void setMenuItemEnabled(int commandId, bool enabled) override;
    void focus(int id) override;
    Answer message(const std::string& text, Icon icon, Buttons buttons) override;
    std::string chooseFile(FileChoice choice) override;
    std::optional<std::size_t> chooseBackup(const BackupChoice& choice) override;
    void runDeviceStep(const std::function<void()>& step) override;
    void showBusy(bool busy) override;
    void beep() override;
    void startTicks(std::chrono::milliseconds period) override;
    void stopTicks() override;

public slots:
    void OnAbout();
    // The OK-close (Enter, File > Exit) and the Cancel-close (Escape, close box,
    // Alt+F4, failed connect). Both ask the logic first.
    void accept() override;
    void reject() override;
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    void wireControls();

    std::unique_ptr<Prompter> ownPrompter;
    Prompter* activePrompter;

    DialogUnits units;
    QWidget* client = nullptr;
    QMenuBar* menus = nullptr;
    BuiltControls built;
    std::map<int, QAction*> actions;
    QTimer* ticks = nullptr;
    bool initialized = false;
    bool hasEnded = false;
    bool placingSliders = false;

    // Last: it drives the widgets above from its constructor on.
    DialogLogic dialogLogic;
};
