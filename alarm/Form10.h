// The alarms dialog "アラーム": the list of alarms (on or off, time,
// repetition, message) and the selected one's fields: on or off, hour and
// minute, the repetition (一度だけ with its date, 毎日, chosen weekdays, every
// N days from a date), the sound (with a trial) and the message. 追加 and 削除
// change the list; OK stores it when every alarm can be stored as entered,
// and otherwise names the alarm and the field and stays open with what was
// typed. The clock takes no input while the dialog is open.
#pragma once

#include "alarm/AlarmStore.h"
#include "platform/Control.h"
#include "platform/Controls.h"
#include "platform/ListBox.h"
#include "platform/Window.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace morix {

class Module1;
class Alarms;

class Form10 final {
public:
    Form10(Module1& module, Alarms& alarms);
    ~Form10();
    Form10(const Form10&) = delete;
    Form10& operator=(const Form10&) = delete;

    void Form_Load();
    void Form_Unload();
    void lstAlarms_Click();
    void optRepeat_Click();
    void cmdAdd_Click();
    void cmdDelete_Click();
    void cmdTest_Click();
    void mciTest_Done();
    void cmdOK_Click();
    void cmdCancel_Click();

    platform::Window& Window() { return *window_; }

private:
    // One alarm as typed: the fields' texts, read into an alarm only at OK.
    struct Draft {
        int slot = 0;
        std::optional<std::string> unreadable;  // the stored line that is no alarm
        bool enabled = true;
        std::string hour, minute;
        int repeat = 1;  // the index of optRepeat
        std::string date;
        std::uint8_t weekdays = 0;
        std::string every;
        std::string sound;
        std::string message;
    };
    static Draft DraftOf(const AlarmEntry& entry);
    // The draft's alarm, or why it is not one (naming the field).
    std::optional<Alarm> AlarmOf(const Draft& draft, int number, std::string& problem) const;
    void ShowList();
    void ShowSelected();
    void KeepSelected();
    void EnableFields();
    std::string ListText(const Draft& draft) const;

    Module1& m;
    Alarms& alarms_;
    std::vector<Draft> drafts_;
    int selected_ = -1;
    std::unique_ptr<platform::Window> window_;
    std::unique_ptr<platform::ListBox> lstAlarms_;
    std::unique_ptr<platform::Control> chkEnabled_, lblTime_, txtHour_, lblColon_, txtMinute_;
    std::unique_ptr<platform::Control> fraRepeat_;
    std::array<std::unique_ptr<platform::Control>, 4> optRepeat_;
    std::array<std::unique_ptr<platform::Control>, 7> chkDay_;
    std::unique_ptr<platform::Control> txtEvery_, lblEvery_, lblDate_, txtDate_;
    std::unique_ptr<platform::Control> lblSound_;
    std::unique_ptr<platform::ListBox> lstSound_;
    std::unique_ptr<platform::Control> cmdTest_, lblMessage_, txtMessage_;
    std::unique_ptr<platform::Control> cmdAdd_, cmdDelete_, cmdOK_, cmdCancel_;
    std::unique_ptr<platform::SoundDevice> mciTest_;
};

}  // namespace morix
