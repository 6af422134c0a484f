# The design folder removed: the prompt asks whether to go on; a click on No
# ends the program without writing anything.
dir=$(fresh_folder nodesign)
rm -rf "$dir/Design/Tidewalk"
start_clock "$dir" --no-wait
box=$(probe message-box 20000)
text=$(echo "$box" | field text)
check "a message box appears" test -n "$box"
check "it names the missing file or path" bash -c '[[ "$1" == *見つかりません* ]]' _ "$text"
check "it asks 続けますか？" bash -c '[[ "$1" == *続けますか？ ]]' _ "$text"
check "its caption is Morix" test "$(echo "$box" | field caption)" = Morix
check "it has Yes and No" test "$(echo "$box" | grep -c '^button=')" = 2
shot 20-missing-design
answer いいえ
check "No ends the program" waited_exit "$clock_pid" 15
check "and writes no settings" test ! -e "$dir/Morix.ini"
