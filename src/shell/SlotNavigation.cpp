#include "shell/SlotNavigation.h"

#include "common/UserTexts.h"
#include "options/OptionsPage.h"
#include "runner/RunnerUi.h"
#include "shell/EditBoxText.h"
#include "shell/PortHandling.h"
#include "shell/SettingsStore.h"
#include "store/StartData.h"

#include <QApplication>
#include <QShortcut>
#include <QSlider>
#include <QStackedLayout>
#include <QStackedWidget>
#include <QTabBar>

namespace telmaris {

SlotNavigation::SlotNavigation(const SlotControls &controls, StartData &data, SettingsStore &store,
                               RunnerUi &ui, PortHandling &ports, QObject *parent)
    : QObject(parent), controls_(controls), data_(data), store_(store), ui_(ui), ports_(ports) {
    connect(controls_.slider, &QSlider::valueChanged, this, &SlotNavigation::followSlider);
    connect(controls_.tabs, &QTabBar::currentChanged, this, &SlotNavigation::switchTab);
    // A click on the tab already shown runs the tab switch as well (and then neither stores
    // nor loads a text).
    connect(controls_.tabs, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0 && index == controls_.tabs->currentIndex())
            switchTab();
    });
    // Ctrl+Tab and Ctrl+PgDn go to the next tab, Ctrl+Shift+Tab and Ctrl+PgUp to the previous
    // one, from anywhere in the window, the editor included.
    const auto addTabKey = [this](QKeyCombination keys, int step) {
        auto *shortcut = new QShortcut(QKeySequence(keys), controls_.window);
        connect(shortcut, &QShortcut::activated, this, [this, step] { stepTab(step); });
    };
    addTabKey(Qt::CTRL | Qt::Key_Tab, 1);
    addTabKey(Qt::CTRL | Qt::Key_PageDown, 1);
    addTabKey(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, -1); // Shift+Tab arrives as Backtab
    addTabKey(Qt::CTRL | Qt::Key_Backtab, -1);
    addTabKey(Qt::CTRL | Qt::Key_PageUp, -1);
    connect(controls_.optionsPage, &OptionsPage::umbruchChanged, controls_.editorStack,
            &QStackedLayout::setCurrentIndex);
}

ScriptEdit *SlotNavigation::visibleEditor() const {
    return controls_.editors[data_.umbruch];
}

void SlotNavigation::showStoredSlot(int n) {
    currTab_ = n;
    data_.currSkript = qint16(n);
    selectTab(n);
}

void SlotNavigation::selectTab(int tab) {
    if (controls_.tabs->currentIndex() == tab - 1)
        switchTab();
    else
        controls_.tabs->setCurrentIndex(tab - 1);
}

bool SlotNavigation::storeCurrentText() {
    EditBoxText visible(visibleEditor());
    return store_.storeScript(data_.currSkript, visible);
}

void SlotNavigation::leaveOptionsPage() {
    if (currTab_ != OptionsTab)
        return;
    if (const int port = controls_.optionsPage->selectedPort(); port != 0)
        data_.comPort = qint16(port);
}

void SlotNavigation::switchTab() {
    if (inTabSwitch_)
        return; // the tab bar moving back after a failed store
    const int newTab = controls_.tabs->currentIndex() + 1;
    controls_.slider->setValue(newTab);
    leaveOptionsPage();

    if (newTab != currTab_ && !storeCurrentText()) {
        // The text of the slot being left is still only in the editor: stay with that slot,
        // so that nothing is lost.
        inTabSwitch_ = true;
        controls_.tabs->setCurrentIndex(data_.currSkript - 1);
        controls_.slider->setValue(data_.currSkript);
        inTabSwitch_ = false;
        controls_.pages->setCurrentIndex(1);
        visibleEditor()->setFocus();
        currTab_ = data_.currSkript;
        Q_EMIT tabShown();
        return;
    }

    if (newTab == OptionsTab) {
        if (currTab_ != OptionsTab)
            ports_.pageShown();
        controls_.pages->setCurrentIndex(0);
        ui_.status(texts::OptionsPageStatus);
    } else {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        controls_.pages->setCurrentIndex(1);
        ui_.status(texts::ScriptPageStatus);
        data_.currSkript = qint16(newTab);
        if (newTab != currTab_) {
            EditBoxText visible(visibleEditor());
            store_.scripts().readCurrSkriptText(data_.currSkript, visible);
        }
        visibleEditor()->setFocus();
        QApplication::restoreOverrideCursor();
    }
    currTab_ = newTab;
    Q_EMIT tabShown();
}

// One tab on, or back, with wrap-around, as a click on that tab would select it. While a run
// locks the tab strip nothing happens.
void SlotNavigation::stepTab(int step) {
    if (!controls_.tabs->isEnabled())
        return;
    selectTab((controls_.tabs->currentIndex() + step + OptionsTab) % OptionsTab + 1);
}

void SlotNavigation::followSlider() {
    if (controls_.slider->value() != controls_.tabs->currentIndex() + 1)
        selectTab(controls_.slider->value());
}

} // namespace telmaris
