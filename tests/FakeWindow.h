// A window for the tests: it keeps texts, visibility, enabled states and the
// pressed states of Pause and Search, and its event pump runs scripted
// actions, for instance "press Pause at the 3rd pump".
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "WindowOps.h"

namespace quillomar::test {

class TFakeWindow : public TWindowOps {
public:
    TFakeWindow() {
        Texts[TControl::lblCurrentPrime] = "lblCurrentPrime";
        Texts[TControl::lblMaxGap] = "lblMaxGap";
        Texts[TControl::lblSibiles] = "???";
        Texts[TControl::lblSibilesAll] = "???";
        Texts[TControl::edtFirst] = "2";
        Texts[TControl::edtSibiles] = "";
    }

    void SetText(TControl aControl, const std::string& aText) override {
        Texts[aControl] = aText;
        TextHistory.push_back({aControl, aText});
    }
    std::string GetText(TControl aControl) override { return Texts[aControl]; }
    void AddLogLine(const std::string& aLine) override { Log.push_back(aLine); }
    void SetLogVisible(bool aVisible) override { LogVisible = aVisible; }
    void SetEnabled(TControl aControl, bool aEnabled) override { Enabled[aControl] = aEnabled; }
    bool IsPauseDown() override { return PauseDown; }
    bool IsSearchDown() override { return SearchDown; }
    void ProcessMessages() override {
        ++Pumps;
        auto lIt = AtPump.find(Pumps);
        if (lIt != AtPump.end()) {
            auto lAction = std::move(lIt->second);
            AtPump.erase(lIt);
            lAction();
        }
        if (EveryPump) EveryPump();
    }

    bool IsEnabled(TControl aControl) const {
        auto lIt = Enabled.find(aControl);
        return lIt == Enabled.end() || lIt->second;
    }

    std::map<TControl, std::string> Texts;
    std::vector<std::pair<TControl, std::string>> TextHistory;
    std::vector<std::string> Log;
    std::map<TControl, bool> Enabled;
    bool LogVisible = true;
    bool PauseDown = false;
    bool SearchDown = false;
    int Pumps = 0;
    // Actions run at the pump of the given number (counted from 1).
    std::map<int, std::function<void()>> AtPump;
    std::function<void()> EveryPump;
};

}  // namespace quillomar::test
