#include "sheets/printjob.h"

#include <gtest/gtest.h>

#include "platform/gfx/pageimage.h"
#include "sheets/pagesnapshot.h"
#include "printing/recordingtarget.h"

namespace zorpokaz {
namespace {

using testing::RecordingTarget;

PageImageList makePages(int n) {
  PageImageList pages;
  for (int i = 0; i < n; ++i)
    pages.push_back(std::make_shared<PageImage>(100, 140));
  return pages;
}

// Answers and counters of the person at the printer.
struct Person {
  bool anotherCopy = true;
  bool booklet = true;
  bool turn = true;
  int cancelAfterDraws = 0;  // 0: never
  int copyQuestions = 0;
  std::vector<std::pair<int, int>> bookletQuestions;
  int turnQuestions = 0;
  int steps = 0;
  int pumps = 0;
  QStringList errors;

  PrintJobHooks hooks() {
    PrintJobHooks h;
    h.askAnotherCopy = [this] { ++copyQuestions; return anotherCopy; };
    h.askBooklet = [this](int n, int N) { bookletQuestions.emplace_back(n, N); return booklet; };
    h.askTurnStack = [this] { ++turnQuestions; return turn; };
    h.stepProgress = [this] { ++steps; };
    h.cancelRequested = [this] { return cancelAfterDraws > 0 && steps >= cancelAfterDraws; };
    h.reportError = [this](const std::exception& e) { errors << QString::fromUtf8(e.what()); };
    h.pumpEvents = [this] { ++pumps; };
    return h;
  }
};

struct JobRun {
  PageImageList pages;
  RecordingTarget target;
  Person person;
  PageList list;
  PrintJobSettings settings;
  MarginsMM margins{10, 15, 10, 25};
  QString title = QStringLiteral("raport");

  JobRun(int n, PageList selected) : pages(makePages(n)), target(pages), list(std::move(selected)) {}

  QStringList print() {
    const PageSnapshot source(pages, margins);
    PrintJob job(target, source, title, settings, person.hooks());
    job.ComputeRects();
    job.PrintCopies(list);
    return target.summary(settings.sheet.mode != PrintMode::Normalnie);
  }
};

PageList range(int from, int to) {
  PageList list;
  for (int p = from; p <= to; ++p)
    list.push_back(p);
  return list;
}

struct SequenceCase {
  const char* name;
  PrintMode mode;
  bool twoSided;
  bool reverse;
  int pages;
  int copies;
  QStringList expected;
};

class SheetSequence : public ::testing::TestWithParam<SequenceCase> {};

TEST_P(SheetSequence, DocumentsAndSidesReachThePrinterInOrder) {
  const SequenceCase& c = GetParam();
  JobRun run(c.pages, range(1, c.pages));
  run.settings.sheet = {c.mode, c.twoSided, c.reverse};
  run.settings.copies = c.copies;
  EXPECT_EQ(run.print(), c.expected) << c.name;
  EXPECT_TRUE(run.person.errors.isEmpty());
}

const PrintMode N1 = PrintMode::Normalnie, Z2 = PrintMode::Zmniejszone, K3 = PrintMode::Ksiazeczka;

INSTANTIATE_TEST_SUITE_P(
    Modes, SheetSequence,
    ::testing::Values(
        SequenceCase{"normal", N1, false, false, 3, 1, {"raport: 1 2 3 end"}},
        SequenceCase{"normal reverse", N1, false, true, 3, 1, {"raport: 3 2 1 end"}},
        SequenceCase{"normal two copies", N1, false, true, 2, 2,
                     {"raport: 2 1 end", "raport: 2 1 end"}},
        SequenceCase{"two-sided 3 pages", N1, true, false, 3, 1,
                     {"raport (1): 2 _ end", "raport (2): 1 3 end"}},
        SequenceCase{"two-sided 3 pages reverse", N1, true, true, 3, 1,
                     {"raport (1): 2 _ end", "raport (2): 3 1 end"}},
        SequenceCase{"reduced 5 pages", Z2, false, false, 5, 1, {"raport: 1|2 3|4 5|_ end"}},
        SequenceCase{"reduced 5 pages reverse", Z2, false, true, 5, 1, {"raport: 5|_ 3|4 1|2 end"}},
        SequenceCase{"reduced two-sided 8", Z2, true, false, 8, 1,
                     {"raport (1): 3|4 7|8 end", "raport (2): 1|2 5|6 end"}},
        SequenceCase{"reduced two-sided 8 reverse", Z2, true, true, 8, 1,
                     {"raport (1): 3|4 7|8 end", "raport (2): 5|6 1|2 end"}},
        SequenceCase{"reduced two-sided 5", Z2, true, false, 5, 1,
                     {"raport (1): 3|4 _|_ end", "raport (2): 1|2 5|_ end"}},
        SequenceCase{"booklet 5", K3, false, false, 5, 1,
                     {"raport (1): 2|_ 4|5 end", "raport (2): _|1 _|3 end"}},
        SequenceCase{"booklet 5 reverse", K3, false, true, 5, 1,
                     {"raport (1): 2|_ 4|5 end", "raport (2): _|3 _|1 end"}},
        SequenceCase{"booklet 8", K3, true, false, 8, 1,
                     {"raport (1): 2|7 4|5 end", "raport (2): 8|1 6|3 end"}},
        SequenceCase{"booklet 8 two copies, box unticked: no copy question", K3, false, false, 8,
                     2,
                     {"raport (1): 2|7 4|5 end", "raport (2): 8|1 6|3 end",
                      "raport (1): 2|7 4|5 end", "raport (2): 8|1 6|3 end"}}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(PrintJob, SelectedPagesAreNumberedByThePageList) {
  JobRun run(20, {5, 6, 7, 12});
  run.settings.sheet = {PrintMode::Zmniejszone, false, false};
  EXPECT_EQ(run.print(), QStringList{"raport: 5|6 7|12 end"});
  EXPECT_EQ(run.person.steps, 4);
}

TEST(PrintJob, EmptyTitleUsesTheDefaultName) {
  JobRun run(1, {1});
  run.title.clear();
  run.settings.sheet = {PrintMode::Normalnie, true, false};
  EXPECT_EQ(run.print(), (QStringList{"Wydruk z Zorela (1): _ end", "Wydruk z Zorela (2): 1 end"}));
}

TEST(PrintJob, CopyQuestionOnlyBetweenTwoSidedCopies) {
  JobRun run(2, range(1, 2));
  run.settings.sheet = {PrintMode::Normalnie, true, false};
  run.settings.copies = 3;
  run.person.anotherCopy = false;
  EXPECT_EQ(run.print(), (QStringList{"raport (1): 2 end", "raport (2): 1 end"}));
  EXPECT_EQ(run.person.copyQuestions, 1);

  JobRun yes(2, range(1, 2));
  yes.settings.sheet = {PrintMode::Normalnie, true, false};
  yes.settings.copies = 3;
  EXPECT_EQ(yes.print().size(), 6);
  EXPECT_EQ(yes.person.copyQuestions, 2);
  EXPECT_EQ(yes.person.turnQuestions, 3);
}

TEST(PrintJob, LongBookletAsksWithWholePageCountAndSheets) {
  JobRun forty(40, range(1, 40));
  forty.settings.sheet = {PrintMode::Ksiazeczka, false, false};
  forty.print();
  EXPECT_TRUE(forty.person.bookletQuestions.empty());

  JobRun run(50, range(1, 41));  // 41 selected of 50: filled up to 44 positions
  run.settings.sheet = {PrintMode::Ksiazeczka, false, false};
  run.settings.copies = 2;
  run.person.booklet = false;
  EXPECT_EQ(run.print(), (QStringList{"raport (1): _|_ abort", "raport (1): _|_ abort"}));
  EXPECT_EQ(run.person.bookletQuestions,
            (std::vector<std::pair<int, int>>{{50, 44}, {50, 44}}));
  EXPECT_EQ(run.target.draws, 0);
  EXPECT_TRUE(run.person.errors.isEmpty());
}

TEST(PrintJob, DecliningTheTurnEndsThatCopyAfterItsFirstPass) {
  JobRun run(4, range(1, 4));
  run.settings.sheet = {PrintMode::Normalnie, true, false};
  run.settings.copies = 2;
  run.person.turn = false;
  EXPECT_EQ(run.print(), (QStringList{"raport (1): 2 4 end", "raport (1): 2 4 end"}));
  EXPECT_TRUE(run.person.errors.isEmpty());
}

TEST(PrintJob, EveryCopyPrintsItsFirstPassWithMirroredMargins) {
  JobRun run(2, range(1, 2));
  run.settings.sheet = {PrintMode::Normalnie, true, false};
  run.settings.copies = 2;
  run.margins = {25, 0, 10, 0};
  run.print();
  // 72 dpi: 25 mm = 71 px, 10 mm = 28 px; the printable area starts 10 px in.
  const PixelRect mirrored{28 - 10, -10, 595 - 10 - 71, 842 - 10};
  const PixelRect normal{71 - 10, -10, 595 - 10 - 28, 842 - 10};
  ASSERT_EQ(run.target.documents.size(), 4u);
  for (int copy = 0; copy < 2; ++copy) {
    EXPECT_EQ(run.target.documents[2 * copy].sides[0].pages.at(0).rect, mirrored) << copy;
    EXPECT_EQ(run.target.documents[2 * copy + 1].sides[0].pages.at(0).rect, normal) << copy;
  }
}

TEST(PrintJob, HalvesOfALandscapeSheet) {
  JobRun run(2, range(1, 2));
  run.settings.sheet = {PrintMode::Zmniejszone, false, false};
  run.margins = {10, 10, 10, 10};
  run.print();
  const auto& side = run.target.documents.at(0).sides.at(0);
  ASSERT_EQ(side.pages.size(), 2u);
  EXPECT_EQ(run.target.documents[0].orientation, SheetOrientation::Landscape);
  // 842 x 595 landscape, offsets 10; 10 mm = 28 px.
  EXPECT_EQ(side.pages[0].rect, (PixelRect{18, 18, 421 - 10 - 28, 595 - 10 - 28}));
  EXPECT_EQ(side.pages[1].rect, (PixelRect{421 - 10 + 28, 18, 842 - 10 - 28, 595 - 10 - 28}));
}

TEST(PrintJob, ColourAndBitmapFlagsReachTheDrawing) {
  for (const bool colour : {false, true})
    for (const bool bitmap : {false, true}) {
      JobRun run(1, {1});
      run.settings.colour = colour;
      run.settings.bitmap = bitmap;
      run.print();
      const testing::DrawnPage& d = run.target.documents.at(0).sides.at(0).pages.at(0);
      EXPECT_EQ(d.blackWhite, !colour);
      EXPECT_EQ(d.bitmap, bitmap);
    }
}

TEST(PrintJob, CancelStopsAfterThePageBeingDrawnAndAbandonsEveryFurtherCopy) {
  JobRun run(3, range(1, 3));
  run.settings.copies = 3;
  run.settings.sheet.reverse = false;
  run.person.cancelAfterDraws = 2;
  EXPECT_EQ(run.print(),
            (QStringList{"raport: 1 2 abort", "raport: 1 abort", "raport: 1 abort"}));
  EXPECT_TRUE(run.person.errors.isEmpty());
}

TEST(PrintJob, AnErrorIsReportedTheDocumentAbortedAndTheNextCopyPrinted) {
  JobRun run(2, range(1, 2));
  run.settings.copies = 2;
  run.settings.sheet.reverse = false;
  run.target.failAtDraw = 2;
  // The second side was started when its drawing failed.
  EXPECT_EQ(run.print(), (QStringList{"raport: 1 _ abort", "raport: 1 2 end"}));
  EXPECT_EQ(run.person.errors, QStringList{"Printer out of paper"});
}

TEST(PrintJob, CompatibilityModeProcessesNoEventsWhileSpooling) {
  for (const bool noAbort : {false, true}) {
    JobRun run(3, range(1, 3));
    run.settings.noAbort = noAbort;
    run.print();
    EXPECT_EQ(run.person.pumps, noAbort ? 0 : 3);
    EXPECT_EQ(run.person.steps, 3);
  }
}

TEST(PrintJob, ProgressMaxCountsSelectedPagesOfEveryCopy) {
  EXPECT_EQ(PrintJob::progressMax({1, 2, 3}, 4), 12);
  EXPECT_EQ(PrintJob::progressMax({}, 4), 0);
}

}  // namespace
}  // namespace zorpokaz
