#pragma once

// A face without a toolkit: the controls as plain state, message boxes and file
// choices answered from queues, device steps on a thread of their own as in the real
// faces.

#include "dialog/dialog_view.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

class FakeView : public DialogView {
public:
    struct Box {
        std::string text;
        Icon icon;
        Buttons buttons;
    };
    struct Slider {
        int minimum = 0;
        int maximum = 100;
        int position = 0;
    };

    std::map<int, std::string> texts;
    std::map<int, int> radioChoices;
    std::map<int, int> comboIndexes;
    std::map<int, bool> checks;
    std::map<int, Slider> sliders;
    std::set<int> disabledControls;
    std::set<int> disabledMenuItems;
    int focused = 0;
    std::vector<Box> boxes;
    std::deque<Answer> answers;        // when empty: OK, or No to a question
    std::deque<std::string> fileNames; // when empty: the user cancels
    // Runs while a box is up, before it is answered: what the user does meanwhile.
    std::function<void(const Box&)> whileShown;
    // Every list of backups shown, and the rows opened from them; when empty: Cancel.
    std::vector<BackupChoice> backupLists;
    std::deque<std::size_t> backupRows;
    std::function<void()> duringStep; // runs on the window's side while a step runs
    int busyDepth = 0;
    int busyAtLastBox = 0;
    int beeps = 0;
    bool ticking = false;
    int steps = 0;

    void setText(int id, const std::string& text) override { texts[id] = text; }
    std::string text(int id) const override { return valueOr(texts, id, std::string()); }
    void setRadioChoice(int groupId, int position) override { radioChoices[groupId] = position; }
    int radioChoice(int groupId) const override { return valueOr(radioChoices, groupId, -1); }
    void setComboIndex(int id, int index) override {
        comboIndexes[id] = index >= 0 && index < 18 ? index : -1;
    }
    int comboIndex(int id) const override { return valueOr(comboIndexes, id, -1); }
    void setChecked(int id, bool checked) override { checks[id] = checked; }
    bool checked(int id) const override { return valueOr(checks, id, false); }
    void setSliderRange(int id, int minimum, int maximum, int) override {
        Slider& slider = sliders[id];
        slider.minimum = minimum;
        slider.maximum = maximum;
        setSliderPosition(id, slider.position);
    }
    void setSliderPosition(int id, int position) override {
        Slider& slider = sliders[id];
        slider.position = std::clamp(position, slider.minimum, slider.maximum);
    }
    int sliderPosition(int id) const override { return valueOr(sliders, id, Slider{}).position; }
    void setControlEnabled(int id, bool enabled) override { toggle(disabledControls, id, enabled); }
    void setMenuItemEnabled(int id, bool enabled) override {
        toggle(disabledMenuItems, id, enabled);
    }
    void focus(int id) override { focused = id; }
    Answer message(const std::string& text, Icon icon, Buttons buttons) override {
        boxes.push_back({text, icon, buttons});
        busyAtLastBox = busyDepth;
        if (whileShown) {
            whileShown(boxes.back());
        }
        if (!answers.empty()) {
            const Answer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        switch (buttons) {
        case Buttons::YesNo:
            return Answer::No;
        case Buttons::RetryCancel:
            return Answer::Cancel;
        case Buttons::Ok:
            break;
        }
        return Answer::Ok;
    }
    std::optional<std::size_t> chooseBackup(const BackupChoice& choice) override {
        backupLists.push_back(choice);
        if (backupRows.empty()) {
            return std::nullopt;
        }
        const std::size_t row = backupRows.front();
        backupRows.pop_front();
        return row;
    }
    std::string chooseFile(FileChoice) override {
        if (fileNames.empty()) {
            return {};
        }
        std::string name = fileNames.front();
        fileNames.pop_front();
        return name;
    }
    void runDeviceStep(const std::function<void()>& step) override {
        ++steps;
        std::thread worker(step);
        if (duringStep) {
            const auto hook = duringStep; // it may replace itself
            hook();
        }
        worker.join();
    }
    void showBusy(bool busy) override { busyDepth += busy ? 1 : -1; }
    void beep() override { ++beeps; }
    void startTicks(std::chrono::milliseconds) override { ticking = true; }
    void stopTicks() override { ticking = false; }

    bool enabled(int id) const { return !disabledControls.contains(id); }
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> all;
        for (const Box& box : boxes) {
            all.push_back(box.text);
        }
        return all;
    }

private:
    template <class Map, class Value> static Value valueOr(const Map& map, int id, Value fallback) {
        const auto it = map.find(id);
        return it == map.end() ? fallback : it->second;
    }
    static void toggle(std::set<int>& disabled, int id, bool enabled) {
        if (enabled) {
            disabled.erase(id);
        } else {
            disabled.insert(id);
        }
    }
};
