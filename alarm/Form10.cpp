#include "alarm/Form10.h"

#include "alarm/AlarmText.h"
#include "alarm/Alarms.h"
#include "base/DateStamp.h"
#include "clock/Form1.h"
#include "clock/FormLayout.h"
#include "clock/Module1.h"
#include "face/AssetPaths.h"

#include <charconv>

namespace morix {

namespace {

using platform::ControlKind;

constexpr long long ClientWidth = 6960, ClientHeight = 6240;
// The sound list's entry for an alarm without sound.
constexpr std::string_view NoSound = "なし";
enum RepeatIndex { OnceIndex = 0, DailyIndex = 1, WeekdaysIndex = 2, EveryIndex = 3 };

std::optional<int> NumberIn(std::string_view text, int low, int high) {
    int v = 0;
    if (text.empty() || text.size() > 4) return std::nullopt;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || v < low || v > high) return std::nullopt;
    return v;
}

}  // namespace

Form10::Form10(Module1& module, Alarms& alarms) : m(module), alarms_(alarms) {
    platform::Ui& ui = m.platform.ui;
    const Form1::DialogSite site = m.TouchForm1().SiteForDialog();
    const TwipsLayout at(site.scale, site.scale);
    window_ = ui.NewWindow(platform::WindowKind::Dialog, site.origin);
    window_->SetTitle("アラーム");
    window_->OnCloseRequest([this] { cmdCancel_Click(); });
    platform::Window& w = *window_;

    lstAlarms_ = ui.NewListBox(w, at("lstAlarms", "", 120, 120, 6720, 1560));
    lstAlarms_->OnClick([this] { lstAlarms_Click(); });
    chkEnabled_ = ui.NewControl(w, ControlKind::CheckBox, at("chkEnabled", "有効", 120, 1800, 975, 315));
    lblTime_ = ui.NewControl(w, ControlKind::Label, at("lblTime", "時刻", 1200, 1830, 600, 255));
    txtHour_ = ui.NewControl(w, ControlKind::TextBox, at("txtHour", "", 1800, 1800, 495, 315));
    lblColon_ = ui.NewControl(w, ControlKind::Label, at("lblColon", ":", 2325, 1830, 120, 255));
    txtMinute_ = ui.NewControl(w, ControlKind::TextBox, at("txtMinute", "", 2475, 1800, 495, 315));

    fraRepeat_ = ui.NewControl(w, ControlKind::Frame, at("fraRepeat", "繰り返し", 120, 2220, 6720, 1800));
    const char* repeats[] = {"一度だけ", "毎日", "曜日", "間隔"};
    const long long repeatPlace[][2] = {{120, 300}, {1560, 300}, {120, 660}, {120, 1020}};
    for (std::size_t i = 0; i < optRepeat_.size(); ++i) {
        optRepeat_[i] = ui.NewControl(w, ControlKind::OptionButton,
                                      at("optRepeat(" + std::to_string(i) + ")", repeats[i], repeatPlace[i][0],
                                         repeatPlace[i][1], i == 0 ? 1335 : 975, 315, fraRepeat_.get()));
        optRepeat_[i]->OnClick([this] { optRepeat_Click(); });
    }
    for (std::size_t i = 0; i < chkDay_.size(); ++i)
        chkDay_[i] = ui.NewControl(w, ControlKind::CheckBox,
                                   at("chkDay(" + std::to_string(i) + ")", WeekdayNames[i],
                                      1200 + static_cast<long long>(i) * 600, 660, 555, 315, fraRepeat_.get()));
    txtEvery_ = ui.NewControl(w, ControlKind::TextBox, at("txtEvery", "", 1200, 1020, 495, 315, fraRepeat_.get()));
    lblEvery_ = ui.NewControl(w, ControlKind::Label, at("lblEvery", "日ごと", 1755, 1050, 975, 255, fraRepeat_.get()));
    lblDate_ = ui.NewControl(w, ControlKind::Label,
                             at("lblDate", "日付（一度だけ・間隔の起点）", 120, 1410, 3255, 255, fraRepeat_.get()));
    txtDate_ = ui.NewControl(w, ControlKind::TextBox, at("txtDate", "", 3480, 1380, 1455, 315, fraRepeat_.get()));

    lblSound_ = ui.NewControl(w, ControlKind::Label, at("lblSound", "サウンド", 120, 4170, 975, 255));
    lstSound_ = ui.NewListBox(w, at("lstSound", "", 1200, 4140, 3255, 900));
    cmdTest_ = ui.NewControl(w, ControlKind::Button, at("cmdTest", "テスト", 4560, 4140, 1155, 375));
    cmdTest_->OnClick([this] { cmdTest_Click(); });
    lblMessage_ = ui.NewControl(w, ControlKind::Label, at("lblMessage", "メッセージ", 120, 5190, 1035, 255));
    txtMessage_ = ui.NewControl(w, ControlKind::TextBox, at("txtMessage", "", 1200, 5160, 5640, 315));

    cmdAdd_ = ui.NewControl(w, ControlKind::Button, at("cmdAdd", "追加", 120, 5700, 1155, 420));
    cmdAdd_->OnClick([this] { cmdAdd_Click(); });
    cmdDelete_ = ui.NewControl(w, ControlKind::Button, at("cmdDelete", "削除", 1380, 5700, 1155, 420));
    cmdDelete_->OnClick([this] { cmdDelete_Click(); });
    cmdOK_ = ui.NewControl(w, ControlKind::Button, at("cmdOK", "OK", 4440, 5700, 1155, 420));
    cmdOK_->OnClick([this] { cmdOK_Click(); });
    cmdCancel_ = ui.NewControl(w, ControlKind::Button, at("cmdCancel", "キャンセル", 5685, 5700, 1155, 420));
    cmdCancel_->OnClick([this] { cmdCancel_Click(); });
    window_->SetDefaultControl(cmdOK_.get());
    window_->SetCancelControl(cmdCancel_.get());

    mciTest_ = ui.NewSoundDevice();
    mciTest_->OnDone([this](platform::SoundEnd) { mciTest_Done(); });
    window_->SetClientSize(at.Pixels(ClientWidth), at.PixelsY(ClientHeight));
    // In a font wider than the one the places were drawn for, no caption is cut.
    window_->FitToCaptions();
}

Form10::~Form10() = default;

void Form10::Form_Load() {
    m.AlarmDialogOpen = true;
    m.TouchForm1().PlaceBeside(*window_);
    for (const AlarmEntry& e : ReadAlarms(m.Settings())) drafts_.push_back(DraftOf(e));
    for (const std::string& name : ChimeNames(m.platform.files, m.Assets())) lstSound_->AddItem(name);
    lstSound_->AddItem(NoSound);
    selected_ = drafts_.empty() ? -1 : 0;
    ShowList();
    ShowSelected();
    m.SetForm1Enabled(false);
}

Form10::Draft Form10::DraftOf(const AlarmEntry& e) {
    Draft d;
    d.slot = e.slot;
    if (!e.alarm) {
        d.unreadable = e.line;
        return d;
    }
    const Alarm& a = *e.alarm;
    d.enabled = a.enabled;
    d.hour = TwoDigits(a.hour);
    d.minute = TwoDigits(a.minute);
    d.repeat = a.repeat == AlarmRepeat::Once ? OnceIndex
             : a.repeat == AlarmRepeat::Daily ? DailyIndex
             : a.repeat == AlarmRepeat::Weekdays ? WeekdaysIndex : EveryIndex;
    if (a.repeat == AlarmRepeat::Once || a.repeat == AlarmRepeat::EveryNDays) d.date = FormatDate(a.date);
    d.weekdays = a.weekdays;
    d.every = std::to_string(a.everyDays);
    d.sound = a.sound;
    d.message = a.message;
    return d;
}

std::string Form10::ListText(const Draft& d) const {
    if (d.unreadable) return "（読めない行）" + *d.unreadable;
    static const char* const repeats[] = {"一度だけ", "毎日", "曜日", "間隔"};
    std::string repeat = repeats[d.repeat];
    if (d.repeat == OnceIndex) repeat += " " + d.date;
    if (d.repeat == WeekdaysIndex)
        for (int i = 0; i < WeekdayCount; ++i)
            if ((d.weekdays >> i) & 1) repeat += WeekdayNames[i];
    if (d.repeat == EveryIndex) repeat = d.every + "日ごと " + d.date;
    return std::string(d.enabled ? "オン" : "オフ") + "  " + d.hour + ":" + d.minute + "  " + repeat + "  " + d.message;
}

void Form10::ShowList() {
    lstAlarms_->Clear();
    for (const Draft& d : drafts_) lstAlarms_->AddItem(ListText(d));
    if (selected_ >= 0) lstAlarms_->SetListIndex(selected_);
    cmdAdd_->SetEnabled(drafts_.size() < static_cast<std::size_t>(keys::AlarmSlots));
    cmdDelete_->SetEnabled(selected_ >= 0);
}

// The selected draft into the fields; none selected, or an unreadable line,
// leaves them empty and disabled.
void Form10::ShowSelected() {
    const Draft empty;
    const bool editable = selected_ >= 0 && !drafts_[selected_].unreadable;
    const Draft& d = editable ? drafts_[selected_] : empty;
    chkEnabled_->SetValue(editable && d.enabled ? 1 : 0);
    txtHour_->SetText(d.hour);
    txtMinute_->SetText(d.minute);
    for (std::size_t i = 0; i < optRepeat_.size(); ++i) optRepeat_[i]->SetValue(static_cast<int>(i) == d.repeat ? 1 : 0);
    for (std::size_t i = 0; i < chkDay_.size(); ++i) chkDay_[i]->SetValue((d.weekdays >> i) & 1);
    txtEvery_->SetText(d.every);
    txtDate_->SetText(d.date);
    txtMessage_->SetText(d.message);
    const std::string sound = d.sound.empty() ? std::string(NoSound) : d.sound;
    int found = -1;
    for (int i = 0; i < lstSound_->Count(); ++i)
        if (lstSound_->Item(i) == sound) found = i;
    // A sound whose file is gone is still the alarm's: listed, not dropped.
    if (found < 0 && editable) {
        lstSound_->AddItem(sound);
        found = lstSound_->Count() - 1;
    }
    lstSound_->SetListIndex(editable ? found : -1);
    // Each field itself too: the system draws a control in a disabled frame
    // as enabled.
    for (platform::ControlBase* c : std::initializer_list<platform::ControlBase*>{
             chkEnabled_.get(), txtHour_.get(), txtMinute_.get(), fraRepeat_.get(), lstSound_.get(), cmdTest_.get(),
             txtMessage_.get(), txtEvery_.get(), txtDate_.get()})
        c->SetEnabled(editable);
    for (auto& c : optRepeat_) c->SetEnabled(editable);
    for (auto& c : chkDay_) c->SetEnabled(editable);
    if (editable) EnableFields();
}

// Only the fields of the chosen repetition take input.
void Form10::EnableFields() {
    const bool weekdays = optRepeat_[WeekdaysIndex]->Value() == 1, every = optRepeat_[EveryIndex]->Value() == 1;
    for (auto& c : chkDay_) c->SetEnabled(weekdays);
    txtEvery_->SetEnabled(every);
    txtDate_->SetEnabled(every || optRepeat_[OnceIndex]->Value() == 1);
}

void Form10::KeepSelected() {
    if (selected_ < 0 || drafts_[selected_].unreadable) return;
    Draft& d = drafts_[selected_];
    d.enabled = chkEnabled_->Value() == 1;
    d.hour = txtHour_->Text();
    d.minute = txtMinute_->Text();
    for (std::size_t i = 0; i < optRepeat_.size(); ++i)
        if (optRepeat_[i]->Value() == 1) d.repeat = static_cast<int>(i);
    d.weekdays = 0;
    for (std::size_t i = 0; i < chkDay_.size(); ++i)
        if (chkDay_[i]->Value() == 1) d.weekdays |= static_cast<std::uint8_t>(1 << i);
    d.every = txtEvery_->Text();
    d.date = txtDate_->Text();
    d.message = txtMessage_->Text();
    const std::string sound = SelectedText(*lstSound_);
    d.sound = sound == NoSound ? "" : sound;
}

void Form10::lstAlarms_Click() {
    KeepSelected();
    selected_ = lstAlarms_->ListIndex();
    ShowList();
    ShowSelected();
}

void Form10::optRepeat_Click() { EnableFields(); }

void Form10::cmdAdd_Click() {
    if (drafts_.size() >= static_cast<std::size_t>(keys::AlarmSlots)) return;
    KeepSelected();
    const platform::LocalTime now = m.platform.clock.Now();
    Draft d;
    d.hour = TwoDigits(now.hour);
    d.minute = TwoDigits(now.minute);
    d.date = FormatDate({now.year, now.month, now.day});
    d.every = "2";
    d.sound = m.Settings().ReadString(keys::ChimeFile);
    drafts_.push_back(std::move(d));
    selected_ = static_cast<int>(drafts_.size()) - 1;
    ShowList();
    ShowSelected();
    txtHour_->SetFocus();
}

void Form10::cmdDelete_Click() {
    if (selected_ < 0) return;
    drafts_.erase(drafts_.begin() + selected_);
    if (selected_ >= static_cast<int>(drafts_.size())) selected_ = static_cast<int>(drafts_.size()) - 1;
    ShowList();
    ShowSelected();
}

void Form10::cmdTest_Click() {
    const std::string sound = SelectedText(*lstSound_);
    if (sound.empty() || sound == NoSound) return;
    mciTest_->SetFileName(m.ChimeFile(sound));
    mciTest_->SetCommand("open");
    mciTest_->SetCommand("play");
}

void Form10::mciTest_Done() { mciTest_->SetCommand("close"); }

std::optional<Alarm> Form10::AlarmOf(const Draft& d, int number, std::string& problem) const {
    const std::string name = "アラーム " + std::to_string(number);
    Alarm a;
    a.enabled = d.enabled;
    const std::optional<int> hour = NumberIn(d.hour, 0, 23), minute = NumberIn(d.minute, 0, 59);
    if (!hour) return problem = name + " の「時」: 0 から 23 までの数を入れてください。", std::nullopt;
    if (!minute) return problem = name + " の「分」: 0 から 59 までの数を入れてください。", std::nullopt;
    a.hour = *hour, a.minute = *minute;
    a.repeat = d.repeat == OnceIndex ? AlarmRepeat::Once
             : d.repeat == DailyIndex ? AlarmRepeat::Daily
             : d.repeat == WeekdaysIndex ? AlarmRepeat::Weekdays : AlarmRepeat::EveryNDays;
    a.weekdays = d.weekdays;
    if (a.repeat == AlarmRepeat::EveryNDays) {
        const std::optional<int> every = NumberIn(d.every, 1, 999);
        if (!every) return problem = name + " の「日ごと」: 1 から 999 までの日数を入れてください。", std::nullopt;
        a.everyDays = *every;
    }
    if (a.repeat == AlarmRepeat::Once || a.repeat == AlarmRepeat::EveryNDays) {
        const std::optional<CalendarDate> date = ParseDate(d.date);
        if (!date) return problem = name + " の「日付」: 2026/12/24 のように入れてください。", std::nullopt;
        a.date = *date;
    }
    a.sound = d.sound;
    a.message = d.message;
    return a;
}

void Form10::cmdOK_Click() {
    KeepSelected();
    const platform::LocalTime now = m.platform.clock.Now();
    std::vector<AlarmEntry> entries;
    for (std::size_t i = 0; i < drafts_.size(); ++i) {
        const Draft& d = drafts_[i];
        if (d.unreadable) {
            entries.push_back({d.slot, std::nullopt, *d.unreadable});
            continue;
        }
        std::string problem;
        std::optional<Alarm> alarm = AlarmOf(d, static_cast<int>(i) + 1, problem);
        if (alarm)
            if (std::optional<std::string> p = AlarmProblem(*alarm, static_cast<int>(i) + 1, now, m.platform.codePage))
                problem = *p, alarm.reset();
        if (!alarm) {
            // The alarm is shown with what was typed, and the dialog stays.
            selected_ = static_cast<int>(i);
            ShowList();
            ShowSelected();
            m.platform.ui.ShowMessageBox(problem, "アラーム", platform::MessageButtons::Ok,
                                         platform::MessageIcon::Exclamation, window_.get());
            return;
        }
        entries.push_back({d.slot, std::move(alarm), ""});
    }
    SettingsFile settings = m.Settings();
    WriteAlarms(settings, entries);
    alarms_.Reload();
    alarms_.CloseAlarmDialog();
}

void Form10::cmdCancel_Click() { alarms_.CloseAlarmDialog(); }

void Form10::Form_Unload() {
    m.AlarmDialogOpen = false;
    mciTest_->SetCommand("close");
    m.SetForm1Enabled(true);
}

}  // namespace morix
