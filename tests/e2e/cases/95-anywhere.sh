# Unpacked into a folder whose name has a character outside code page 932, a
# space and an emoji: the clock starts without a prompt, shows today's memo,
# and its exit writes the exit date there.
dir=$(fresh_folder "Zoë données 😀")
sample_seen "$dir"
printf '{\\rtf1\\ansi memo of today\\par\r\n}' > "$dir/Tickdata/$(date +%Y%m%d).rtf"
start_clock "$dir"
check "it starts" probe clock 20000
check "without a prompt" no_message_box 3000
check "it shows today's memo" probe window "Morix - 備忘録" 5000
shot 95-anywhere
probe close-clock
check "closed, it ends" waited_exit "$clock_pid" 15
check "its exit writes the exit date in that folder" test "$(ini_get "$dir" 終了時の日付)" = "$(date +%Y%m%d)"
