// A restless user at the library level: Pause and Start handled in one event
// pump of a running step, alone or inside a listing or a search that runs
// nested in that pump. However the handlers nest, every prime is analysed
// once: the report files are those of an undisturbed run.
#include <gtest/gtest.h>

#include "Analysis.h"
#include "FakeWindow.h"
#include "RunModel.h"
#include "TempDir.h"

namespace quillomar::test {
namespace {

// The clicks as the window delivers them: a click on Pause presses it and
// runs its handler, a click on Start releases Pause and runs Start's.
struct TClicks {
    TFakeWindow& Window;
    TAnalysis& Analysis;
    void Pause() const {
        Window.PauseDown = true;
        Analysis.btnPauseClick();
    }
    void Start() const {
        Window.PauseDown = false;
        Analysis.btnStartClick();
    }
    void Parzyste() const {
        Window.PauseDown = false;
        Analysis.btnParzysteClick();
    }
    void Search(const std::string& aNumber) const {
        Window.Texts[TControl::edtFirst] = aNumber;
        Window.SearchDown = !Window.SearchDown;
        Analysis.btnSearchClick();
    }
};

struct TNestedCase {
    const char* Name;
    // Run in the pump of the given number; may add further pump actions.
    int AtPump;
    std::function<void(const TClicks&)> Action;
};

TEST(NestedRun, EveryPrimeIsAnalysedOnceHoweverTheHandlersNest) {
    const std::string lPrimes = PrimesText(30);
    const auto lReference = LibraryRun(lPrimes);

    const TNestedCase kCases[] = {
        {"Pause and Start in the loading pump", 1, [](const TClicks& c) { c.Pause(); c.Start(); }},
        {"Pause and Start in one pump of a step", 8, [](const TClicks& c) { c.Pause(); c.Start(); }},
        {"the same twice over, in consecutive pumps", 8,
         [](const TClicks& c) {
             c.Pause();
             c.Start();
             c.Window.AtPump[c.Window.Pumps + 1] = [c] { c.Pause(); c.Start(); };
         }},
        {"Pause and Start inside the even listing nested in a step", 8,
         [](const TClicks& c) {
             c.Window.AtPump[c.Window.Pumps + 2] = [c] { c.Pause(); c.Start(); };
             c.Window.AtPump[c.Window.Pumps + 4] = [c] { c.Pause(); };
             c.Parzyste();
         }},
        {"Pause and Start inside a search nested in a step", 8,
         [](const TClicks& c) {
             c.Window.AtPump[c.Window.Pumps + 3] = [c] { c.Pause(); c.Start(); };
             c.Search("3");
         }},
    };
    for (const TNestedCase& lCase : kCases) {
        TTempDir lDir;
        lDir.Write("primes.txt", lPrimes);
        TFakeWindow lWindow;
        TAnalysis lAnalysis(lWindow, lDir.Path());
        lAnalysis.FormCreate();
        const TClicks lClicks{lWindow, lAnalysis};
        lWindow.AtPump[lCase.AtPump] = [&] { lCase.Action(lClicks); };
        lClicks.Start();
        // Whatever paused it, Pause and Start until the list is exhausted.
        for (int i = 0; i < 5 && lAnalysis.CurrentIndex() < lAnalysis.Primes().Count(); ++i) {
            lClicks.Pause();
            lClicks.Start();
        }
        EXPECT_EQ(lAnalysis.CurrentIndex(), lAnalysis.Primes().Count()) << lCase.Name;
        EXPECT_EQ(lWindow.Log.size(), static_cast<size_t>(lAnalysis.Primes().Count() - 1)) << lCase.Name;
        for (const std::string& f : ReportFileNames()) {
            if (f == "Odds.txt") continue;
            EXPECT_EQ(FirstDifference(lDir.Read(f), lReference.at(f)), "") << lCase.Name << ": " << f;
        }
    }
}

}  // namespace
}  // namespace quillomar::test
