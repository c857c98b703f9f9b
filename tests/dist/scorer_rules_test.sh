#!/usr/bin/env bash
# A scorer's Tagstrip rules, loaded by the real scorer: on every sample message run through
# "tagstrip filter", and on each again with its findings folded at every blank, exactly the
# rules of the categories the findings name fire, and every rule fires on some message.
#   scorer_rules_test.sh spamassassin|rspamd TAGSTRIP SOURCE_DIR
# spamassassin runs with its stock rules and ours in the site directory; rspamd runs as a
# daemon on a Unix socket with our rules alone, no network lookups, started and stopped here.
set -euo pipefail
scorer=$1
tagstrip=$2
source_dir=$3
command -v "$scorer" >/dev/null || { echo "$scorer is not installed"; exit 77; }

declare -A rule_of=(
  ["Tagstrip - 'Script found.'"]=TAGSTRIP_SCRIPT
  ["Tagstrip - 'Formatting found.'"]=TAGSTRIP_FORMATTING
  ["Tagstrip - 'External Image references found.'"]=TAGSTRIP_IMAGES_EXT
  ["Tagstrip - 'Internal Image references found.'"]=TAGSTRIP_IMAGES_INT
  ["Tagstrip - 'Links found.'"]=TAGSTRIP_LINKS
  ["Tagstrip - 'External Refs found.'"]=TAGSTRIP_EXTERNAL_REFS
  ["Tagstrip - 'Web Bugs found.'"]=TAGSTRIP_WEB_BUGS
  ["Tagstrip - 'Read Receipt found.'"]=TAGSTRIP_READ_RECEIPTS
  ["Remote - 'Remote loads found.'"]=TAGSTRIP_REMOTE_LOADS
  ["Remote - 'Tracking pixels found.'"]=TAGSTRIP_TRACKING_PIXELS
  ["Remote - 'Known trackers found.'"]=TAGSTRIP_KNOWN_TRACKERS
  ["Remote - 'Link tracking found.'"]=TAGSTRIP_LINK_TRACKING
  ["Skipped: nul-byte"]=TAGSTRIP_SKIPPED_NUL
  ["Skipped: too-large"]=TAGSTRIP_SKIPPED_LARGE
)

work=$(mktemp -d)
scorer_pid=
cleanup() {
  [ -z "$scorer_pid" ] || { kill "$scorer_pid" 2>/dev/null; wait "$scorer_pid" 2>/dev/null || true; }
  rm -rf "$work"
}
trap cleanup EXIT
mkdir "$work/scorer" "$work/messages"

spamassassin_rules=$source_dir/dist/rules/spamassassin/72_tagstrip.cf
spamassassin_run() { command spamassassin --siteconfigpath="$work/scorer" -p "$work/prefs" "$@" 2>"$work/scorer.err"; }
spamassassin_start() {
  cp /etc/spamassassin/*.pre "$spamassassin_rules" "$work/scorer/"
  # Spam keeps its own header, with X-Sample, instead of going into an attachment.
  echo "report_safe 0" >"$work/scorer/local.cf"
  spamassassin_run --lint || { cat "$work/scorer.err"; echo "spamassassin --lint fails"; exit 1; }
}
# One run over all the messages as an mbox, each marked with an X-Sample field.
spamassassin_fired() {
  local message end
  for message in "$work"/filtered/*; do
    # In the message's own line ends: the scorer takes CRLF mail by its first line.
    end='\n'
    head -n 1 "$message" | grep -q $'\r$' && end='\r\n'
    printf "From sample@example.net Thu Jan  1 00:00:00 2026\nX-Sample: %s$end" "$(basename "$message")"
    sed -e 's/^From />From /' "$message"
    echo
  done >"$work/filtered.mbox"
  spamassassin_run -L -t --mbox <"$work/filtered.mbox" | awk '
    function flush(  count, words, i) {
      count = split(status, words, /[ \t,=]+/)
      for (i = 1; i <= count; i++) if (words[i] ~ /^TAGSTRIP_/) print name, words[i]
      name = ""; status = ""
    }
    /^From / { flush(); in_header = 1; in_status = 0; next }
    in_header && /^\r?$/ { in_header = 0; next }
    in_header && /^[ \t]/ { if (in_status) status = status " " $0; next }
    in_header { in_status = /^X-Spam-Status:/; if (in_status) status = $0; if (/^X-Sample:/) { name = $2; sub(/\r$/, "", name) } }
    END { flush() }'
}

rspamd_rules=$source_dir/dist/rules/rspamd/tagstrip.conf
rspamd_start() {
  local socket=$work/scorer/rspamd.sock
  printf 'com\nnet\norg\n' >"$work/scorer/tld.dat"
  cat >"$work/scorer/rspamd.conf" <<CONF
options {
  filters = "regexp";
  dns { nameserver = ["127.0.0.1:1"]; }
  pidfile = "$work/scorer/rspamd.pid";
  url_tld = "$work/scorer/tld.dat";
  disable_hyperscan = true;
}
logging { type = "file"; filename = "$work/scorer/rspamd.log"; level = "error"; }
worker "normal" { bind_socket = "$socket mode=0600"; count = 1; }
regexp { .include "$rspamd_rules" }
CONF
  rspamadm configtest -c "$work/scorer/rspamd.conf" >"$work/scorer.err" 2>&1 ||
    { cat "$work/scorer.err"; echo "rspamadm configtest fails"; exit 1; }
  local user=()
  [ "$(id -u)" -ne 0 ] || user=(-u root -g root)
  rspamd -f -i "${user[@]}" -c "$work/scorer/rspamd.conf" --var DBDIR="$work/scorer" 2>>"$work/scorer/rspamd.log" &
  scorer_pid=$!
  for _ in $(seq 100); do
    [ -S "$socket" ] && rspamc -h "$socket" -t 2 symbols "$source_dir/examples/plain-text.eml" >/dev/null 2>&1 &&
      return
    sleep 0.2
  done
  cat "$work/scorer/rspamd.log"; echo "rspamd did not start"; exit 1
}
rspamd_fired() {
  local message
  for message in "$work"/filtered/*; do
    rspamc -h "$work/scorer/rspamd.sock" -t 10 symbols "$message" |
      sed -n "s/^Symbol: \(TAGSTRIP_[A-Z_]*\).*/$(basename "$message") \1/p"
  done
}

# The header fields of a message, unfolded, one per line.
unfolded_header() { sed -e '/^\r\?$/q' "$1" | tr -d '\r' | sed -e ':a' -e 'N' -e '$!ba' -e 's/\n[ \t]\+/ /g'; }

expected_rules() {
  local header=$1 text
  while IFS= read -r text; do
    echo "${rule_of[$text]:?no rule for finding '$text'}"
  done < <(grep -o "[A-Za-z]* - '[^']*found\.'" <<<"$header"
           grep -i '^X-Tagstrip-Skipped:' <<<"$header" | awk '{print "Skipped: " $2}')
}

cp "$source_dir"/examples/*.eml "$work/messages/"
printf 'From: a@example.net\nSubject: hidden\nContent-Type: text/html\n\n<p>hi\0<script>x()</script>\n' \
  >"$work/messages/nul-byte.eml"
cat >"$work/messages/tracked.eml" <<'MESSAGE'
From: "Offers" <offers@shop.example.com>
To: dana@example.net
Subject: Tracked
MIME-Version: 1.0
Content-Type: text/html; charset=us-ascii

<p><a href="https://shop.example.com/sale?utm_source=mail&utm_campaign=autumn">Sale</a>
<img src="https://awstrack.me/open/1234" width="1" height="1" alt=""></p>
MESSAGE
printf 'From: a@example.net\nSubject: pixel\nMIME-Version: 1.0\nContent-Type: text/html\n\n%s\n' \
  '<p>Hello<img src="https://shop.example.com/o.gif" width="1" height="1" alt=""></p>' >"$work/messages/pixel.eml"
head -c 4096 "$source_dir/examples/newsletter.eml" >"$work/messages/too-large.eml"

mkdir "$work/filtered"
for message in "$work"/messages/*.eml; do
  name=$(basename "$message")
  options=(--config-dir "$source_dir/dist/etc")
  [ "$name" != too-large.eml ] || options+=(--max-size 1024)
  "$tagstrip" filter "${options[@]}" <"$message" >"$work/filtered/$name" 2>/dev/null || true
done

# Each message again with its findings folded before every blank that may take a fold: a
# rule matches a category whatever the folding.
refold_findings() {
  perl -pe 'if (/^\r?$/) { $body = 1 }
            next if $body;
            if (/^X-Tagstrip-Findings:/i) { $in = 1 } elsif (/^\S/) { $in = 0 }
            elsif ($in) { my $end = /\r$/ ? "\r\n" : "\n"; s/(\S) (?=\S)/$1$end /g }' "$1"
}
for message in "$work"/filtered/*; do
  refold_findings "$message" >"$work/filtered/refolded-$(basename "$message")"
done

"${scorer}_start"
"${scorer}_fired" >"$work/fired"
failures=0
declare -A fired_somewhere=()
for message in "$work"/filtered/*; do
  name=$(basename "$message")
  expected=$(expected_rules "$(unfolded_header "$work/filtered/${name#refolded-}")" | sort -u | tr '\n' ' ')
  fired=$(awk -v name="$name" '$1 == name {print $2}' "$work/fired" | sort -u | tr '\n' ' ')
  for rule in $fired; do fired_somewhere[$rule]=1; done
  if [ "$fired" != "$expected" ]; then
    echo "FAIL $name: fired [$fired], expected [$expected]"
    failures=$((failures + 1))
  else
    echo "ok   $name: [$fired]"
  fi
done

rules_file=${scorer}_rules
for rule in $(grep -o '^[a-z]* *TAGSTRIP_[A-Z_]*\|^TAGSTRIP_[A-Z_]*' "${!rules_file}" | awk '{print $NF}' | sort -u); do
  if [ -z "${fired_somewhere[$rule]:-}" ]; then
    echo "FAIL $rule fired on no message"
    failures=$((failures + 1))
  fi
done
[ "$failures" -eq 0 ]
