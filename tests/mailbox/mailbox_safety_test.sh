#!/usr/bin/env bash
# `tagstrip scan --rewrite` beside delivery agents, and killed or stopped in every way:
#   - deliveries in each locking style (fcntl only, dotlock then fcntl, flock only) and by
#     procmail while scans rewrite the mbox again and again: every message exactly once;
#   - SIGTERM, SIGINT and SIGHUP at random moments, and a file size limit below the new
#     mbox: the mailbox as it was or fully rewritten, a clear message, nothing left;
#   - kill -9 at random moments and at chosen system calls (strace's fault injection),
#     and failing system calls: the next run finishes or leaves the mailbox as it was, and
#     nothing stays behind;
#   - a stale dotlock is broken with a notice, a live one waited for;
#   - Maildir: S=/W= sizes, flags and modification time; --backup; leftovers removed.
#   - a delivery right after a kill in the middle of an in-place write, for a tail that
#     shrinks and one that grows: the next run keeps the delivery, after the new content;
#   mailbox_safety_test.sh TAGSTRIP MBOX_APPENDER MBOX_JOURNAL_DRIVER [SANITIZED(0|1)]
# MAILBOX_SAFETY_DELIVERIES (deliveries per style, default 100), MAILBOX_SAFETY_KILLS
# (default 200, 100 in sanitized builds, which run several times slower) and
# MAILBOX_SAFETY_DIR (default /dev/shm) are for longer runs (mailbox_safety_soak.sh).
set -uo pipefail
tagstrip=$1
appender=$2
journal_driver=$3
sanitized=${4:-0}
deliveries=${MAILBOX_SAFETY_DELIVERIES:-100}
default_kills=200
[ "$sanitized" = 1 ] && default_kills=100
kills=${MAILBOX_SAFETY_KILLS:-$default_kills}
# A killed process's writes are in the page cache all the same, so a memory file system
# shows the same outcomes of kills, without the cost of syncing.
base=${MAILBOX_SAFETY_DIR:-/dev/shm}
[ -d "$base" ] && [ -w "$base" ] || base=${TMPDIR:-/tmp}
work=$(mktemp -d -p "$base")
trap 'kill $(jobs -p) 2>/dev/null; [ -d "$work/postfix" ] && stop_postfix; rm -rf "$work"' EXIT
export TMPDIR=$work/tmp XDG_CONFIG_HOME=$work/config
mkdir -p "$TMPDIR" "$XDG_CONFIG_HOME/tagstrip"
failures=0
passes=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() {  # DESCRIPTION COMMAND...
  local description=$1
  shift
  if "$@"; then passes=$((passes + 1)); else fail "$description"; fi
}

# COUNT messages tagged TAG: HTML long enough for the analyzer's temporary file, two in
# three with a script to remove, each ending in "END TAG-n".
make_mbox() {  # FILE COUNT TAG LINES
  awk -v n="$2" -v tag="$3" -v lines="$4" 'BEGIN {
    for (i = 1; i <= n; i++) {
      printf "From sender@example.com Sat Dec  5 10:00:00 2026\nSubject: %s-%d\n", tag, i
      printf "Message-ID: <%s-%d@test.invalid>\nContent-Type: text/html\n\n<html><body>\n", tag, i
      for (j = 0; j < lines; j++) printf "<p>line %d of %s-%d <b>bold</b></p>\n", j, tag, i
      if (i % 3 != 0) printf "<script>t(%d)</script>\n", i
      printf "<p>END %s-%d</p></body></html>\n\n", tag, i
    }
  }' > "$1"
}

rewrite() { "$tagstrip" scan --rewrite "$@" > /dev/null; }

# Only the mbox itself (and what is named) in its directory, and no private temporary
# directory of any process.
nothing_left() {  # DIRECTORY EXPECTED_NAMES...
  local directory=$1
  shift
  local found expected
  found=$(ls -A "$directory" | sort | tr '\n' ' ')
  expected=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
  [ "$found" = "$expected" ] || { echo "  in $directory: $found (expected $expected)"; return 1; }
  [ -z "$(ls -A "$TMPDIR")" ] || { echo "  in $TMPDIR: $(ls -A "$TMPDIR")"; return 1; }
}

each_once() {  # MBOX TAG COUNT
  local ids ends duplicates
  ids=$(grep -c "^Message-ID: <$2-[0-9]*@" "$1")
  ends=$(grep -c "<p>END $2-[0-9]*</p>" "$1")
  duplicates=$(grep -o "^Message-ID: <$2-[0-9]*@" "$1" | sort | uniq -d | head -3)
  [ "$ids" = "$3" ] && [ "$ends" = "$3" ] && [ -z "$duplicates" ] ||
    { echo "  $2: $ids messages, $ends ends of $3; twice: $duplicates"; return 1; }
}

random_pause() { sleep "$(printf '0.%03d' $((RANDOM % $1)))"; }

# --- A private Postfix whose local(8) delivers to an mbox file through an alias ------------
postfix_port=0
start_postfix() {  # MBOX
  local etc=$work/postfix/etc
  mkdir -p "$etc" "$work/postfix/spool" "$work/postfix/data"
  chmod 755 "$work" "$work/postfix"
  chown postfix "$work/postfix/data"
  # Local runs as nobody for an alias owned by root: the mbox and its folder are open to it.
  chmod 1777 "$(dirname "$1")"
  chmod 666 "$1"
  postfix_port=$((20000 + RANDOM % 20000))
  cat > "$etc/main.cf" <<CF
compatibility_level = 3.6
queue_directory = $work/postfix/spool
data_directory = $work/postfix/data
myhostname = test.invalid
mydestination = test.invalid
inet_interfaces = 127.0.0.1
inet_protocols = ipv4
mynetworks = 127.0.0.0/8
smtpd_peername_lookup = no
smtp_dns_support_level = disabled
default_transport = error:no outbound mail in tests
alias_maps = texthash:$etc/aliases
alias_database =
local_recipient_maps =
local_header_rewrite_clients =
biff = no
mailbox_delivery_lock = fcntl, dotlock
queue_run_delay = 1s
minimal_backoff_time = 1s
maximal_backoff_time = 2s
maillog_file = $work/postfix/maillog
maillog_file_prefixes = $work
CF
  echo "box $1" > "$etc/aliases"
  {
    echo "127.0.0.1:$postfix_port inet n - n - - smtpd"
    # service type private unprivileged chroot wakeup process-limit [command]
    while read -r service; do
      set -- $service
      echo "$service" "$([ $# -eq 7 ] && echo "$1")"
    done <<SERVICES
pickup unix n - n 60 1
cleanup unix n - n - 0
qmgr unix n - n 300 1
rewrite unix - - n - - trivial-rewrite
bounce unix - - n - 0
defer unix - - n - 0 bounce
trace unix - - n - 0 bounce
error unix - - n - -
retry unix - - n - - error
proxymap unix - - n - -
showq unix n - n - -
local unix - n n - -
anvil unix - - n - 1
scache unix - - n - 1
postlog unix-dgram n - n - 1 postlogd
SERVICES
  } > "$etc/master.cf"
  postfix -c "$etc" start > "$work/postfix/start.log" 2>&1
  for _ in $(seq 1 50); do
    (exec 3<> "/dev/tcp/127.0.0.1/$postfix_port") 2> /dev/null && return 0
    sleep 0.1
  done
  return 1
}

stop_postfix() { postfix -c "$work/postfix/etc" stop > /dev/null 2>&1; }

# Sends COUNT messages tagged postfix-n over one SMTP session, then waits until local(8)
# has delivered them all.
deliver_through_postfix() {  # COUNT
  local reply i
  exec 3<> "/dev/tcp/127.0.0.1/$postfix_port" || return 1
  say() { printf '%s\r\n' "$1" >&3; read -r reply <&3; }
  read -r reply <&3
  say "HELO test.invalid"
  for i in $(seq 1 "$1"); do
    say "MAIL FROM:<a@example.com>"
    say "RCPT TO:<box@test.invalid>"
    say "DATA"
    printf 'Message-ID: <postfix-%d@test.invalid>\r\nContent-Type: text/html\r\n\r\n' "$i" >&3
    printf '<p>x</p><script>s()</script>\r\n<p>END postfix-%d</p>\r\n.\r\n' "$i" >&3
    read -r reply <&3
    case $reply in 250*) ;; *) echo "  postfix refused message $i: $reply"; exec 3>&-; return 1 ;; esac
  done
  say "QUIT"
  exec 3>&-
  for _ in $(seq 1 600); do
    [ "$(grep -c 'status=sent' "$work/postfix/maillog" 2> /dev/null)" -ge "$1" ] && return 0
    sleep 0.1
  done
  echo "  postfix delivered $(grep -c 'status=sent' "$work/postfix/maillog") of $1"
  return 1
}

# --- Concurrent deliveries in each locking style, through procmail and Postfix ---------
deliveries_survive() {  # STYLE: fcntl, dotlock, flock, procmail or postfix
  local style=$1 mbox=$work/deliver-$1/mbox
  mkdir -p "$work/deliver-$style"
  make_mbox "$mbox" 5 "seed-$style" 20
  if [ "$style" = postfix ]; then
    start_postfix "$mbox" || { fail "postfix did not start: $(tail -3 "$work/postfix/start.log")"; return; }
    deliver_through_postfix $((deliveries / 4)) &
  elif [ "$style" = procmail ]; then
    printf 'LOCKSLEEP=1\n:0:\n%s\n' "$mbox" > "$work/procmailrc"
    (for i in $(seq 1 $((deliveries / 4))); do
       printf 'From: a@example.com\nMessage-ID: <procmail-%d@test.invalid>\nContent-Type: text/html\n\n<p>x</p><script>s()</script>\n<p>END procmail-%d</p>\n' "$i" "$i" |
         procmail -f sender@example.com -m "$work/procmailrc" || exit 1
     done) &
  else
    "$appender" "$style" "$mbox" "$deliveries" "$style" 20000 &
  fi
  local deliverer=$! scans=0
  while kill -0 "$deliverer" 2>/dev/null; do
    rewrite --lock-wait 60 "$mbox" 2>> "$work/deliver.err" || fail "$style: a scan failed: $(tail -1 "$work/deliver.err")"
    scans=$((scans + 1))
  done
  wait "$deliverer" || fail "$style: the deliveries failed"
  [ "$style" = postfix ] && stop_postfix
  rewrite "$mbox" || fail "$style: the last scan failed"
  local expected=$deliveries
  [ "$style" = procmail ] || [ "$style" = postfix ] && expected=$((deliveries / 4))
  echo "$style: $expected deliveries while $scans scans rewrote the mbox"
  check "$style: every delivery exactly once" each_once "$mbox" "$style" "$expected"
  check "$style: the seed messages exactly once" each_once "$mbox" "seed-$style" 5
  check "$style: every message rewritten" bash -c "! grep -q '<script>' '$mbox'"
  check "$style: nothing left" nothing_left "$work/deliver-$style" mbox
}
styles="fcntl dotlock flock"
command -v procmail > /dev/null && styles="$styles procmail"
[ -x /usr/sbin/postfix ] && [ "$(id -u)" = 0 ] && styles="$styles postfix"
for style in $styles; do
  deliveries_survive "$style"
done
echo "deliveries: ${SECONDS}s"

# --- The mailbox whose rewrites are interrupted -------------------------------------------
mkdir -p "$work/box"
box=$work/box/mbox
make_mbox "$work/original" 10 kill 400
cp "$work/original" "$box"
rewrite "$box" || fail "the reference rewrite failed"
cp "$box" "$work/rewritten"
cmp -s "$work/original" "$work/rewritten" && fail "the reference rewrite changed nothing"

# After an interruption the mbox is the original or the rewritten one, or a journal
# beside it lets the next run finish; that run must leave exactly the rewritten mbox.
settles() {  # WHAT
  if ! ls -A "$work/box" | grep -q 'tagstrip-journal'; then
    cmp -s "$box" "$work/original" || cmp -s "$box" "$work/rewritten" ||
      { echo "  $1: torn mbox without a journal"; return 1; }
  fi
  rewrite "$box" 2> "$work/settle.err" || { echo "  $1: the next run failed: $(cat "$work/settle.err")"; return 1; }
  cmp -s "$box" "$work/rewritten" || { echo "  $1: the next run left a different mbox"; return 1; }
  nothing_left "$work/box" mbox
}

# --- Stop signals at random moments ------------------------------------------------------
for round in $(seq 1 6); do
  for signal in TERM INT HUP; do
    cp "$work/original" "$box"
    "$tagstrip" scan --rewrite "$box" > /dev/null 2> "$work/signal.err" &
    scan=$!
    random_pause 150
    kill -s "$signal" "$scan" 2>/dev/null
    wait "$scan" 2>/dev/null
    status=$?
    # Stopped before writing: the mbox as it was, and a message. Stopped while writing:
    # the write finished first. Too late: done.
    if cmp -s "$box" "$work/original"; then
      check "SIG$signal: ended by the signal ($status)" test "$status" -eq $((128 + $(kill -l "$signal")))
      # Silent only when the signal came before the program had set up anything.
      check "SIG$signal: says so" \
        bash -c "grep -q 'stopped by SIG$signal' '$work/signal.err' || ! test -s '$work/signal.err'"
    else
      check "SIG$signal: otherwise fully rewritten" cmp -s "$box" "$work/rewritten"
      check "SIG$signal: ended by the signal or done ($status)" \
        test "$status" -eq 0 -o "$status" -eq $((128 + $(kill -l "$signal")))
    fi
    check "SIG$signal: nothing left" nothing_left "$work/box" mbox
  done
done

echo "signals: ${SECONDS}s"

# --- A file size limit below the new mbox ---------------------------------------------------
cp "$work/original" "$box"
(ulimit -f 40; exec "$tagstrip" scan --rewrite "$box") > /dev/null 2> "$work/limit.err"
check "ulimit -f: exit 1" test $? -eq 1
check "ulimit -f: says why" grep -q "File too large" "$work/limit.err"
check "ulimit -f: the mbox as it was" cmp -s "$box" "$work/original"
check "ulimit -f: nothing left" nothing_left "$work/box" mbox

# --- kill -9 at random moments ---------------------------------------------------------------
torn=0
for round in $(seq 1 "$kills"); do
  cp "$work/original" "$box"
  "$tagstrip" scan --rewrite "$box" > /dev/null 2>&1 &
  scan=$!
  random_pause 80
  kill -9 "$scan" 2>/dev/null
  wait "$scan" 2>/dev/null
  ls -A "$work/box" | grep -q 'tagstrip-journal' && torn=$((torn + 1))
  settles "kill -9 #$round" || fail "kill -9 at a random moment, round $round"
done
echo "kill -9 at $kills random moments: $torn left a journal to finish from (${SECONDS}s)"

# --- kill -9 and failures at chosen system calls ------------------------------------------
if command -v strace > /dev/null; then
  journals=0
  for call in pwrite64 fsync fdatasync rename ftruncate fallocate unlink; do
    for when in 1 2 3 4 5; do
      for fault in signal=KILL error=EIO; do
        cp "$work/original" "$box"
        # Through sh, so that the killed run is not reported by this shell.
        sh -c '"$@" > /dev/null 2>&1; true' sh strace -f -qq -o /dev/null -e trace="$call" \
          -e inject="$call:$fault:when=$when" "$tagstrip" scan --rewrite "$box"
        journals=$((journals + $(ls -A "$work/box" | grep -c 'tagstrip-journal')))
        settles "$call #$when $fault" || fail "$fault at $call number $when"
      done
    done
  done
fi

echo "kills and failures at 70 chosen system calls: $journals left a journal to finish from (${SECONDS}s)"

# --- A delivery after a kill in the middle of an in-place write ----------------------------
# Locks die with the process, so an fcntl-only agent may append to the half-written mbox
# before the next run: that run must tell the delivery from the mbox's own bytes.
if command -v strace > /dev/null; then
  mkdir -p "$work/journal"
  jbox=$work/journal/mbox
  printf 'From a@example.com Sat Dec  5 10:00:00 2026\nSubject: kept\n\nfirst\n\n' > "$work/head"
  make_mbox "$work/old-tail" 3 old 40
  make_mbox "$work/shorter-tail" 2 new 30
  make_mbox "$work/longer-tail" 5 new 60
  printf 'From c@example.com Sun Dec  6 10:00:00 2026\nSubject: late\n\nafter the crash\n\n' > "$work/late"
  cat "$work/head" "$work/old-tail" "$work/late" > "$work/unchanged-then-late"
  start=$(stat -c %s "$work/head")
  journals=0
  for tail in shorter longer; do
    cat "$work/head" "$work/$tail-tail" "$work/late" > "$work/written-then-late"
    for call in pwrite64 fsync fdatasync rename ftruncate fallocate; do
      for when in 1 2 3 4; do
        cat "$work/head" "$work/old-tail" > "$jbox"
        sh -c '"$@" > /dev/null 2>&1; true' sh strace -f -qq -o /dev/null -e trace="$call" \
          -e inject="$call:signal=KILL:when=$when" "$journal_driver" apply "$jbox" "$start" "$work/$tail-tail"
        journal=$(ls -A "$work/journal" | grep -c 'tagstrip-journal')
        journals=$((journals + journal))
        cat "$work/late" >> "$jbox"
        "$journal_driver" recover "$jbox" || fail "$tail tail, kill at $call #$when: recovery failed"
        if [ "$journal" -ne 0 ]; then
          check "$tail tail, kill at $call #$when: new content, then the delivery" cmp -s "$jbox" "$work/written-then-late"
        else
          check "$tail tail, kill at $call #$when: old or new content, then the delivery" \
            bash -c "cmp -s '$jbox' '$work/written-then-late' || cmp -s '$jbox' '$work/unchanged-then-late'"
        fi
        check "$tail tail, kill at $call #$when: nothing left" nothing_left "$work/journal" mbox
      done
    done
  done
  echo "kills during in-place writes followed by a delivery: $journals of 48 left a journal (${SECONDS}s)"
fi

# --- Stale and live dotlocks ----------------------------------------------------------------
cp "$work/original" "$box"
sh -c 'echo $$' > "$box.lock"
"$tagstrip" scan --rewrite --lock-wait 5 "$box" > /dev/null 2> "$work/stale.err"
check "stale dotlock: broken and the scan done" test $? -eq 0
check "stale dotlock: a notice names it" grep -q "removing the stale lock $box.lock" "$work/stale.err"
check "stale dotlock: rewritten" cmp -s "$box" "$work/rewritten"

cp "$work/original" "$box"
sleep 60 &
holder=$!
echo "$holder" > "$box.lock"
"$tagstrip" scan --rewrite --lock-wait 20 "$box" > /dev/null 2> "$work/live.err" &
scan=$!
sleep 1
check "live dotlock: waited for" kill -0 "$scan"
check "live dotlock: the wait is shown" grep -q "waiting for the mailbox lock: $box.lock held by process $holder" "$work/live.err"
check "live dotlock: untouched meanwhile" cmp -s "$box" "$work/original"
check "live dotlock: kept" test -e "$box.lock"
rm -f "$box.lock"
kill "$holder"
wait "$scan"
check "live dotlock: done once released" test $? -eq 0
check "live dotlock: rewritten" cmp -s "$box" "$work/rewritten"

# --- Maildir names, times, backups and leftovers -------------------------------------------
maildir=$work/Maildir
mkdir -p "$maildir/cur" "$maildir/new" "$maildir/tmp"
make_mbox "$work/one" 1 maildir 30
tail -n +2 "$work/one" | head -n -1 > "$work/message"
size=$(stat -c %s "$work/message")
lines=$(wc -l < "$work/message")
name="1760000000.M1P1.host,S=$size,W=$((size + lines)):2,FS"
cp "$work/message" "$maildir/cur/$name"
touch -d '2026-01-02 03:04:05' "$maildir/cur/$name"
touch -d '40 hours ago' "$maildir/tmp/old-delivery"
touch "$maildir/tmp/fresh-delivery" "$maildir/tmp/.x.tagstrip-$$-abcdef"
touch "$maildir/tmp/.x.tagstrip-99999999-abcdef"
mkdir "$TMPDIR/tagstrip-99999999-abcdef"
touch "$TMPDIR/tagstrip-99999999-abcdef/tmp1A"
"$tagstrip" scan --rewrite --backup "$maildir" > "$work/maildir.out" 2> "$work/maildir.err"
check "Maildir: scan succeeds" test $? -eq 0
new_name=$(ls "$maildir/cur")
new_size=$(stat -c %s "$maildir/cur/$new_name")
new_lines=$(wc -l < "$maildir/cur/$new_name")
check "Maildir: S= and W= follow the new size ($new_name)" \
  test "$new_name" = "1760000000.M1P1.host,S=$new_size,W=$((new_size + new_lines)):2,FS"
check "Maildir: smaller than before" test "$new_size" -lt "$size"
check "Maildir: modification time kept" test "$(stat -c %Y "$maildir/cur/$new_name")" = "$(date -d '2026-01-02 03:04:05' +%s)"
check "Maildir: backup kept" cmp -s "$work/message" "$maildir.orig/cur/$name"
check "Maildir: the summary names the new name" grep -q "is now $new_name" "$work/maildir.out"
check "Maildir: tmp/ keeps fresh and live files only" \
  test "$(ls -A "$maildir/tmp" | sort | tr '\n' ' ')" = ".x.tagstrip-$$-abcdef fresh-delivery "
check "private temporary directories of gone processes removed" test -z "$(ls -A "$TMPDIR")"

mkdir -p "$work/files"
cp "$work/message" "$work/files/$name"
touch -d '2026-01-02 03:04:05' "$work/files/$name"
"$tagstrip" check --in-place "$work/files/$name" > /dev/null
check "check --in-place: renamed like the Maildir scan" test -e "$work/files/$new_name"
check "check --in-place: original kept" cmp -s "$work/message" "$work/files/$name.orig"
check "check --in-place: modification time kept" test "$(stat -c %Y "$work/files/$new_name")" = "$(date -d '2026-01-02 03:04:05' +%s)"

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
