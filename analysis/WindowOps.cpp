#include "WindowOps.h"

namespace quillomar {

const char* ControlName(TControl aControl) {
    switch (aControl) {
        case TControl::lblCurrentPrime: return "lblCurrentPrime";
        case TControl::lblMaxGap: return "lblMaxGap";
        case TControl::lblSibiles: return "lblSibiles";
        case TControl::lblSibilesAll: return "lblSibilesAll";
        case TControl::edtFirst: return "edtFirst";
        case TControl::edtSibiles: return "edtSibiles";
        case TControl::mmoLog: return "mmoLog";
        case TControl::btnStart: return "btnStart";
        case TControl::btnPause: return "btnPause";
        case TControl::btnParzyste: return "btnParzyste";
        case TControl::btnSearch: return "btnSearch";
    }
    return "";
}

}  // namespace quillomar
