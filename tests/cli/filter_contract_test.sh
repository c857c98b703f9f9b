#!/usr/bin/env bash
# What a delivery agent sees of `tagstrip filter`: for each case the exit status and the
# exact bytes on standard output. Whatever goes wrong the message goes on, as it came
# (X-Tagstrip-* fields that came with it removed).
#   filter_contract_test.sh TAGSTRIP
set -uo pipefail
tagstrip=$(realpath "$1")
work=$(mktemp -d)
chmod 755 "$work"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cd "$work" || exit 1
mkdir config inactive xdg xdg/tagstrip tmp cwd
# Inactive: every analyzer beside the program switched off.
printf '[General]\nActive=0\n' > inactive/Tagstrip.ini
cp inactive/Tagstrip.ini inactive/Remote.ini
cp inactive/Tagstrip.ini inactive/Remote.ini xdg/tagstrip/

# The messages and what the filter makes of them.
printf 'Subject: plain\nContent-Type: text/html\n\n<p>Hello <script>track()</script>there</p>\n' > html.eml
{ printf 'X-Tagstrip-Score: 0\nx-tagstrip-findings:\n\tforged\n'; cat html.eml; } > forged.eml
{ printf 'X-Tagstrip-Score: 50\nX-Tagstrip-Findings:\n'
  printf "\t      50 Tagstrip - 'Script found.'\n\t       0 Tagstrip - 'Script removed.'\n"
  printf 'Subject: plain\nContent-Type: text/html\n\n<p>Hello there</p>\n\n'; } > html.filtered
printf 'Subject: nul\nContent-Type: text/html\n\n<p>a\0b<script>x()</script></p>\n' > nul.eml
{ printf 'X-Tagstrip-Skipped: nul-byte\n'; cat nul.eml; } > nul.filtered
{ printf 'X-Tagstrip-Skipped: too-large\n'; cat html.eml; } > html.too-large
{ printf 'From sender@example.com Sun Dec  6 10:00:00 2026\n'; cat html.eml; } > envelope.eml
{ printf 'From sender@example.com Sun Dec  6 10:00:00 2026\nX-Tagstrip-Skipped: too-large\n'; cat html.eml; } > envelope.too-large
: > empty.eml

# name | status | expected stdout | input | environment and arguments ("--" starts the arguments)
cases=(
  "healthy                 |0 |html.filtered     |html.eml    |-- --config-dir $work/config"
  "forged fields replaced  |0 |html.filtered     |forged.eml  |-- --config-dir $work/config"
  "unknown option          |0 |html.eml          |forged.eml  |-- --config-dir $work/config --bogus"
  "unknown option, codes   |64|html.eml          |html.eml    |-- --exit-codes --bogus"
  "module missing          |0 |html.eml          |html.eml    |-- --config-dir $work/config --module /nonexistent/Tagstrip.Analyzer"
  "module missing, codes   |69|html.eml          |html.eml    |-- --exit-codes --config-dir $work/config --module /nonexistent/Tagstrip.Analyzer"
  "config-dir typo         |0 |html.eml          |html.eml    |-- --config-dir confg"
  "config-dir typo, codes  |78|html.eml          |html.eml    |-- --exit-codes --config-dir confg"
  "TAGSTRIP_CONFIG_DIR typo|0 |html.eml          |html.eml    |TAGSTRIP_CONFIG_DIR=$work/confg --"
  "TAGSTRIP_CONFIG_DIR     |0 |html.eml          |forged.eml  |TAGSTRIP_CONFIG_DIR=$work/inactive --"
  "HOME nonexistent        |0 |html.filtered     |html.eml    |HOME=/nonexistent XDG_CONFIG_HOME= TAGSTRIP_CONFIG_DIR= --"
  "HOME unset              |0 |html.filtered     |html.eml    |-u HOME -u XDG_CONFIG_HOME -u TAGSTRIP_CONFIG_DIR --"
  "HOME relative           |0 |html.filtered     |html.eml    |HOME=. XDG_CONFIG_HOME= TAGSTRIP_CONFIG_DIR= --"
  "XDG_CONFIG_HOME inactive|0 |html.eml          |html.eml    |XDG_CONFIG_HOME=$work/xdg TAGSTRIP_CONFIG_DIR= --"
  "inactive                |0 |html.eml          |html.eml    |-- --config-dir $work/inactive"
  "inactive, forged        |0 |html.eml          |forged.eml  |-- --config-dir $work/inactive"
  "NUL byte                |0 |nul.filtered      |nul.eml     |-- --config-dir $work/config"
  "over max-size           |0 |html.too-large    |html.eml    |-- --config-dir $work/config --max-size 40"
  "over max-size, envelope |0 |envelope.too-large|envelope.eml|-- --config-dir $work/config --max-size=80"
  "at max-size             |0 |html.filtered     |html.eml    |-- --config-dir $work/config --max-size $(stat -c %s html.eml)"
  "max-size not a number   |0 |html.eml          |html.eml    |-- --config-dir $work/config --max-size 10M"
  "a file name given       |0 |html.eml          |html.eml    |-- --config-dir $work/config html.eml"
  "max-size, codes         |64|html.eml          |html.eml    |-- --exit-codes --config-dir $work/config --max-size -1"
  "empty input             |0 |empty.eml         |empty.eml   |-- --config-dir $work/config"
  "empty input, bad option |0 |empty.eml         |empty.eml   |-- --bogus"
)

trim() { local text=$1; text=${text#"${text%%[![:space:]]*}"}; printf '%s' "${text%"${text##*[![:space:]]}"}"; }

for row in "${cases[@]}"; do
  IFS='|' read -r name status expected input rest <<< "$row"
  name=$(trim "$name"); status=$(trim "$status"); expected=$(trim "$expected"); input=$(trim "$input")
  environment=${rest%%--*}
  arguments=${rest#*--}
  # shellcheck disable=SC2086 # the table's words are meant to split
  (cd cwd && env $environment TMPDIR="$work/tmp" "$tagstrip" filter $arguments) \
    < "$input" > out.eml 2> err.txt
  got=$?
  [ "$got" = "$status" ] || fail "$name: exit status $got, wanted $status: $(cat err.txt)"
  cmp -s out.eml "$expected" || fail "$name: standard output differs from $expected: $(cat err.txt)"
  if [ "$expected" = "$input" ] && [ "$status" != 0 ] || [[ "$name" == *typo* ]]; then
    [ "$(wc -l < err.txt)" -ge 1 ] || fail "$name: no reason on standard error"
  fi
done
[ ! -e confg ] && [ ! -e cwd/confg ] || fail "a mistyped --config-dir was created"
[ -z "$(ls -A cwd)" ] || fail "something appeared in the current directory: $(ls -A cwd)"
[ -z "$(ls -A tmp)" ] || fail "a temporary file was left behind: $(ls -A tmp)"

# No settings anywhere: the built-in ones, with one warning naming where it looked.
env -u HOME -u XDG_CONFIG_HOME -u TAGSTRIP_CONFIG_DIR "$tagstrip" filter < html.eml > /dev/null 2> err.txt
[ "$(grep -c "built-in settings" err.txt)" = 1 ] || fail "no single warning about the built-in settings: $(cat err.txt)"

# A file-size limit that the filtered message would exceed but the original fits: the
# output file is started again with the original (signal ignored, write error, no exit 153).
{ printf 'Subject: limit\n\n'; head -c 2014 /dev/zero | tr '\0' 'x'; } > limit.eml  # 2030 of 2048 bytes
for mode in "" "--exit-codes"; do
  want=0; [ -n "$mode" ] && want=74
  # shellcheck disable=SC2086
  ( ulimit -f 2; exec "$tagstrip" filter --config-dir "$work/config" $mode < limit.eml > out.eml 2> err.txt )
  got=$?
  [ "$got" = "$want" ] || fail "file-size limit $mode: exit status $got, wanted $want: $(cat err.txt)"
  cmp -s out.eml limit.eml || fail "file-size limit $mode: the output is not the message as it came"
done
# The same for a message big enough to be freed during the analysis (1126360 of 1126400
# bytes; one script removed, our fields added). From a file it is read again from there;
# from a pipe it comes back from a spill file in TMPDIR, or it was kept in memory when no
# spill file could be made. Either way the only word on standard error is the failed
# write, and TMPDIR is left as it was.
{ printf 'Subject: limit\nContent-Type: text/html\n\n<p><script>s()</script></p>\n'
  yes '<p>plain words</p>' | head -n 59278; head -c 9 /dev/zero | tr '\0' 'x'; echo; } > big-limit.eml
[ "$(wc -c < big-limit.eml)" = 1126360 ] || fail "big-limit.eml is $(wc -c < big-limit.eml) bytes"
mkdir spill spill-locked && chmod 555 spill-locked && : > spill-file
as_other_user=()
[ "$(id -u)" = 0 ] && as_other_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
# name | standard input | TMPDIR | run as another user (who cannot write to spill-locked)
big_limit_cases=(
  "from a file                 |file|$work/spill        |no"
  "from a pipe                 |pipe|$work/spill        |no"
  "from a pipe, TMPDIR missing |pipe|$work/spill-missing|no"
  "from a pipe, TMPDIR a file  |pipe|$work/spill-file   |no"
  "from a pipe, TMPDIR locked  |pipe|$work/spill-locked |yes"
)
for row in "${big_limit_cases[@]}"; do
  IFS='|' read -r name how spill_directory other <<< "$row"
  name="file-size limit, big message $(trim "$name")"; how=$(trim "$how")
  spill_directory=$(trim "$spill_directory"); runner=()
  [ "$(trim "$other")" = yes ] && runner=("${as_other_user[@]}")
  limited_filter=(bash -c 'ulimit -f 1100; exec "$@"' limited "${runner[@]}" env TMPDIR="$spill_directory"
                  "$tagstrip" filter --config-dir "$work/config")
  if [ "$how" = pipe ]; then
    cat big-limit.eml | "${limited_filter[@]}" > out.eml 2> err.txt
  else
    "${limited_filter[@]}" < big-limit.eml > out.eml 2> err.txt
  fi
  got=$?
  [ "$got" = 0 ] || fail "$name: exit status $got: $(cat err.txt)"
  cmp -s out.eml big-limit.eml || fail "$name: the output is not the message as it came"
  [ "$(wc -l < err.txt)" = 1 ] && grep -q "writing the message unchanged instead" err.txt ||
    fail "$name: standard error: $(cat err.txt)"
done
left=$(find spill spill-locked spill-missing spill-file -mindepth 1 2>/dev/null; [ -s spill-file ] && echo spill-file)
[ -z "$left" ] || fail "file-size limit, big message: left in TMPDIR: $left"
# Standard output closed: nothing can reach the agent, so the status says so in every mode.
"$tagstrip" filter --config-dir "$work/config" < html.eml >&- 2> err.txt
got=$?
[ "$got" = 74 ] || fail "closed output: exit status $got, wanted 74"

# A non-root user (nobody) whose settings file cannot be read: built-in settings, one
# warning naming the file, the message filtered, exit 0.
if [ "$(id -u)" = 0 ]; then
  mkdir locked && printf '[Settings]\nFlags=255\n' > locked/Tagstrip.ini && chmod 000 locked/Tagstrip.ini
  chmod 777 tmp
  setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME=/nonexistent TMPDIR="$work/tmp" \
    "$tagstrip" filter --config-dir locked < html.eml > out.eml 2> err.txt
  got=$?
  [ "$got" = 0 ] || fail "unreadable settings as nobody: exit status $got"
  cmp -s out.eml html.filtered || fail "unreadable settings as nobody: output differs"
  grep -q "locked/Tagstrip.ini: cannot be read" err.txt || fail "unreadable settings: no warning: $(cat err.txt)"
  setpriv --reuid=nobody --regid=nogroup --clear-groups "$tagstrip" settings --config-dir locked > out.txt 2>&1
  grep -q "cannot be read" out.txt || fail "settings does not say the file cannot be read: $(cat out.txt)"
else
  echo "not root: the case of another user's settings file is left out"
fi

# Sends the signal to a filter once its analyzer has made its temporary file. The
# message comes from a pipe and goes to a file, so that it was spilled to TMPDIR too.
kill_filter_mid_analysis() {
  cat long.eml | TMPDIR="$work/tmp" "$tagstrip" filter --config-dir $work/config --max-size 0 > out.eml 2> /dev/null &
  local pid=$!
  for _ in $(seq 1 500); do
    [ -n "$(find tmp -type f -name 'tmp*' 2>/dev/null)" ] && break
    sleep 0.01
  done
  kill "-$1" "$pid" 2>/dev/null
  { wait "$pid"; } 2> /dev/null
}

# SIGTERM in mid-analysis (a delivery agent's timeout) leaves no temporary file behind.
{ printf 'Subject: long\nContent-Type: text/html\n\n'
  head -c 20000000 /dev/zero | tr '\0' 'x' | fold -w 1000 | sed 's/^/<p><script>s<\/script>/'; } > long.eml
kill_filter_mid_analysis TERM
[ -z "$(ls -A tmp)" ] || fail "SIGTERM left files behind: $(find tmp)"

# A filter killed outright leaves its directory; the next one, even on a short message,
# removes it and leaves nothing behind.
kill_filter_mid_analysis KILL
[ -n "$(ls -A tmp)" ] || fail "SIGKILL: the killed filter's directory was expected to stay"
TMPDIR="$work/tmp" "$tagstrip" filter --config-dir $work/config < html.eml > /dev/null 2>&1
[ -z "$(ls -A tmp)" ] || fail "the run after SIGKILL left files behind: $(find tmp)"

if [ "$failures" -gt 0 ]; then
  echo "$failures case(s) failed"
  exit 1
fi
echo "all ${#cases[@]} table cases and the special cases passed"
