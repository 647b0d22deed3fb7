// The window operations the analysis uses. The Qt window implements them for
// real; the command-line tool and the tests implement them with fakes.
#pragma once

#include <string>

namespace quillomar {

// The controls the analysis acts on, named as the window names them.
enum class TControl {
    lblCurrentPrime,
    lblMaxGap,
    lblSibiles,
    lblSibilesAll,
    edtFirst,
    edtSibiles,
    mmoLog,
    btnStart,
    btnPause,
    btnParzyste,
    btnSearch,
};

// The objectName of a control ("lblCurrentPrime", ...).
const char* ControlName(TControl aControl);

class TWindowOps {
public:
    virtual ~TWindowOps() = default;

    // Caption of a label or text of an edit; UTF-8.
    virtual void SetText(TControl aControl, const std::string& aText) = 0;
    virtual std::string GetText(TControl aControl) = 0;

    // Adds one line at the end of mmoLog.
    virtual void AddLogLine(const std::string& aLine) = 0;

    // Hide (false) or show (true) mmoLog.
    virtual void SetLogVisible(bool aVisible) = 0;

    // Enable or disable btnStart or btnParzyste.
    virtual void SetEnabled(TControl aControl, bool aEnabled) = 0;

    // Pressed state of btnPause and of the Search toggle.
    virtual bool IsPauseDown() = 0;
    virtual bool IsSearchDown() = 0;

    // Handles all pending window events, then returns. Click handlers may
    // run nested inside this call.
    virtual void ProcessMessages() = 0;
};

}  // namespace quillomar
