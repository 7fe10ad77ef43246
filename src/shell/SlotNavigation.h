#pragma once
// Moving between the 100 script slots and the options page: the tab strip, the slider that
// follows it, the tab keys, and the wrap mode's editor box. Leaving a slot stores its text
// when it changed, and a slot that cannot be stored is not left, so nothing typed is lost;
// showing a slot loads its text. Leaving the options page takes the port chosen there, for a
// tab switch and for the close alike.

#include <QObject>
#include <array>

class QSlider;
class QStackedLayout;
class QStackedWidget;
class QTabBar;
class QWidget;

namespace telmaris {

class OptionsPage;
class PortHandling;
class RunnerUi;
class ScriptEdit;
class SettingsStore;
struct StartData;

// The controls the navigation moves, made by the window.
struct SlotControls {
    QWidget *window = nullptr; // where the tab keys work
    QSlider *slider = nullptr;
    QTabBar *tabs = nullptr;
    QStackedWidget *pages = nullptr; // the options page first, then the script page
    QStackedLayout *editorStack = nullptr;
    std::array<ScriptEdit *, 2> editors{}; // without and with line wrap
    OptionsPage *optionsPage = nullptr;
};

class SlotNavigation : public QObject {
    Q_OBJECT
public:
    // ui shows the status texts of the pages; ports are shown anew on the options page.
    SlotNavigation(const SlotControls &controls, StartData &data, SettingsStore &store,
                   RunnerUi &ui, PortHandling &ports, QObject *parent = nullptr);

    // The tab shown: 1..100 a script slot, 101 the options page.
    int currTab() const { return currTab_; }
    // At start-up: slot n's text is in the editor already; its tab is selected without
    // storing or loading.
    void showStoredSlot(int n);
    // Selects tab 1..101 as a click would; the tab switch runs also when it is selected already.
    void selectTab(int tab);
    // Stores the visible slot's text when it changed; false, reported, when it could not be.
    bool storeCurrentText();
    // The way off the options page when it is shown: the port chosen is taken; with no button
    // selected the port stays.
    void leaveOptionsPage();
    // The editor box of the wrap mode in use.
    ScriptEdit *visibleEditor() const;

Q_SIGNALS:
    void tabShown(); // after every tab switch, also one that stayed on its slot

private:
    void switchTab();
    void stepTab(int step); // the tab keys: +1 the next tab, -1 the previous one
    void followSlider();

    const SlotControls controls_;
    StartData &data_;
    SettingsStore &store_;
    RunnerUi &ui_;
    PortHandling &ports_;
    int currTab_ = 1;
    bool inTabSwitch_ = false;
};

} // namespace telmaris
