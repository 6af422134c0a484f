#include "memo/Form2.h"

#include "base/DateStamp.h"
#include "clock/Form1.h"
#include "clock/FormLayout.h"
#include "clock/Module1.h"
#include "memo/MemoFiles.h"
#include "memo/Memos.h"
#include "platform/Ui.h"

#include <algorithm>

namespace morix {

namespace {
platform::Rect CalendarPlace(const GridLayout& grid) { return grid(8, 28, 159, 148); }
}  // namespace

Form2::Form2(Module1& module, Memos& memos) : m(module), memos_(memos) {
    platform::Ui& ui = m.platform.ui;
    const Form1::DialogSite site = m.TouchForm1().SiteForDialog();
    scale_ = site.scale;
    const GridLayout grid(scale_);
    window_ = ui.NewWindow(platform::WindowKind::Dialog, site.origin);
    window_->SetTitle("備忘録（新規・開く）");
    window_->OnCloseRequest([this] { memos_.ClosePicker(); });
    Label1_ = ui.NewControl(*window_, platform::ControlKind::Label,
                            {"Label1", grid(8, 8, 161, 17), "メモを開く日を選択してください。", nullptr});
    MonthView1_ = ui.NewDateTime(*window_, platform::DateTimeKind::CalendarBoldDays, {"MonthView1", CalendarPlace(grid), "", nullptr});
    MonthView1_->OnChange([this] { MonthView1_DateClick(); });
    MonthView1_->OnGetDayBold(
        [this](const platform::LocalTime& first, int months) { return MonthView1_GetDayBold(first, months); });
    cmdOK_ = ui.NewControl(*window_, platform::ControlKind::Button, {"cmdOK", grid(8, 194, 77, 29), "OK", nullptr});
    cmdOK_->OnClick([this] { cmdOK_Click(); });
    cmdCancel_ = ui.NewControl(*window_, platform::ControlKind::Button, {"cmdCancel", grid(92, 194, 73, 29), "ｷｬﾝｾﾙ", nullptr});
    cmdCancel_->OnClick([this] { cmdCancel_Click(); });
    window_->SetCancelControl(cmdCancel_.get());
}

Form2::~Form2() = default;

void Form2::Form_Load() {
    m.MemoPickerOpen = true;
    // As wide as the calendar the system draws needs.
    const GridLayout grid(scale_);
    const int wider = std::max(0, MonthView1_->Place().right - CalendarPlace(grid).right);
    window_->SetClientSize(grid.Width() + wider, grid.Height());
    // In a font wider than the one the places were drawn for, no caption is cut.
    window_->FitToCaptions();
    MonthView1_->SetValue(m.platform.clock.Now());
    m.TouchForm1().PlaceBeside(*window_);
    m.SetForm1Enabled(false);
}

void Form2::MonthView1_DateClick() { cmdOK_->SetFocus(); }

// The days of the months shown that have a memo file, asked again whenever
// the user goes to another month; files whose names are no date are passed
// over, as the memo listing does.
std::vector<platform::LocalTime> Form2::MonthView1_GetDayBold(const platform::LocalTime& first, int months) const {
    std::vector<platform::LocalTime> days;
    for (const std::string& name : m.platform.files.ListFiles(MemoFolder(m.DataFolder()), ".rtf")) {
        const std::optional<MemoDayOf> day = MemoDay(name);
        const int month = day ? (day->year - first.year) * 12 + day->month - first.month : -1;
        if (month >= 0 && month < months) days.push_back({day->year, day->month, day->day});
    }
    return days;
}

void Form2::cmdOK_Click() {
    const platform::LocalTime day = MonthView1_->Value();
    const std::string folder = MemoFolder(m.DataFolder());
    const std::string path = folder + "\\" + DateStamp({day.year, day.month, day.day}) + ".rtf";
    platform::Files& files = m.platform.files;
    try {
        // An existing memo stays as it is; a new day's memo starts as an
        // empty file, in a memo folder made again when it went missing. What
        // cannot be made is said with its path, and no memo window opens.
        if (!files.FolderExists(folder) && !files.CreateFolder(folder)) Raise(err::PathNotFound, folder);
        if (!files.FileExists(path) && !files.ReplaceAtomically(path, "")) Raise(err::PathFileAccess, path);
    } catch (const RuntimeError& e) {
        m.HandleError(e);
        return;
    }
    // A memo window already open (the day's memo shown at midnight while the
    // picker waited) saves to its own file before the chosen day opens.
    if (m.MemoWindowOpen) memos_.CloseMemoWindow();
    m.MemoPath = path;
    memos_.ShowMemoWindow();
    memos_.ClosePicker();
}

void Form2::cmdCancel_Click() { memos_.ClosePicker(); }

void Form2::Form_Unload() {
    m.MemoPickerOpen = false;
    m.SetForm1Enabled(true);
}

}  // namespace morix
