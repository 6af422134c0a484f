# Windows' own switch for the logon entry: 設定 → アプリ → スタートアップ and
# Task Manager turn Morix off with a binary value beside its Run value, which
# they leave in place. The box of オプション shows unticked then; ticked and
# OK, the switch reads on again, as the system's own setting writes it.
dir=$(fresh_folder startup-switch)
sample_seen "$dir" アクティブウインドウへの移動=0
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
switch_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run'
logon_box="Windows の起動時に Morix を起動する"
exe=$(winepath -w "$dir/Morix.exe" 2>/dev/null | tr -d '\r')
wine reg add "$run_key" /v Morix /t REG_SZ /d "\"$exe\"" /f >/dev/null 2>&1
# Off, with the time it was turned off, as the system writes it.
wine reg add "$switch_key" /v Morix /t REG_BINARY /d 03000000d40d438dc83bd901 /f >/dev/null 2>&1
switch_value() { wine reg query "$switch_key" /v Morix 2>/dev/null | tr -d '\r' | sed -n 's/^ *Morix *REG_BINARY *//p'; }
run_value() { wine reg query "$run_key" /v Morix 2>/dev/null | tr -d '\r' | sed -n 's/^ *Morix *REG_SZ *//p'; }
start_clock "$dir"
menu Down Down Right Return
probe window "オプション" 5000 >/dev/null && sleep 0.5
check "switched off by Windows: the box shows unticked" bash -c '[[ "$1" == *"|$2|"*"check=0"* ]]' _ "$(controls "オプション")" "$logon_box"
click_control "オプション" Button "$logon_box"
click_control "オプション" Button OK
closes "オプション"
check "ticked and OK: the switch reads on ($(switch_value))" test "$(switch_value)" = 020000000000000000000000
check "and the Run value names this Morix.exe" test "$(run_value)" = "\"$exe\""
menu Down Down Right Return
probe window "オプション" 5000 >/dev/null && sleep 0.5
check "the box shows ticked next time" bash -c '[[ "$1" == *"|$2|"*"check=1"* ]]' _ "$(controls "オプション")" "$logon_box"
click_control "オプション" Button "キャンセル"
closes "オプション"
probe close-clock >/dev/null; waited_exit "$clock_pid" 15
wine reg delete "$run_key" /v Morix /f >/dev/null 2>&1
wine reg delete "$switch_key" /v Morix /f >/dev/null 2>&1
