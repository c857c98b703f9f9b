#!/usr/bin/env bash
# "cmake --install" lays out a working installation: the program in bin finds its private
# libraries through its RUNPATH and the modules in lib/tagstrip, which come before a module
# beside the program (its bin directory is not even listed), and --module overrides both, and no installed file names the build or
# source tree (sanitizers name their sources, so a sanitized build skips that check), and
# only "config" loads the terminal libraries, through the installed settings window library.
#   install_layout_test.sh BUILD_DIR SOURCE_DIR [SANITIZERS]
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
sanitizers=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr --strip >/dev/null

failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

for file in usr/bin/tagstrip usr/lib/tagstrip/Tagstrip.Analyzer usr/lib/tagstrip/Remote.Analyzer \
            usr/lib/tagstrip/libtagstrip-platform.so usr/share/doc/tagstrip/trackers/LICENSE \
            etc/tagstrip/Tagstrip.ini usr/share/man/man1/tagstrip.1 usr/share/bash-completion/completions/tagstrip \
            usr/share/doc/tagstrip/spamassassin/72_tagstrip.cf usr/share/doc/tagstrip/examples/mailbox.mbox; do
  [ -f "$root/$file" ] || fail "$file is not installed"
done

if [ -x "$build/tagstrip-milter" ]; then
  for file in usr/sbin/tagstrip-milter usr/share/man/man8/tagstrip-milter.8 lib/systemd/system/tagstrip-milter.service \
              usr/share/man/man5/tagstrip-milter.conf.5 etc/tagstrip/milter.conf; do
    [ -f "$root/$file" ] || fail "$file is not installed"
  done
  "$build/tagstrip-milter" -c "$root/etc/tagstrip/milter.conf" --check-config ||
    fail "the installed milter.conf does not pass --check-config"
fi

runpath() { readelf -d "$1" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p'; }
[ "$(runpath "$root/usr/bin/tagstrip")" = '$ORIGIN/../lib/tagstrip' ] ||
  fail "tagstrip's RUNPATH is '$(runpath "$root/usr/bin/tagstrip")'"
if [ -x "$build/tagstrip-milter" ]; then
  [ "$(runpath "$root/usr/sbin/tagstrip-milter")" = '$ORIGIN/../lib/tagstrip' ] ||
    fail "tagstrip-milter's RUNPATH is '$(runpath "$root/usr/sbin/tagstrip-milter")'"
  version=$("$root/usr/bin/tagstrip" --version | sed -n 's/^tagstrip //p')
  [ "$("$root/usr/sbin/tagstrip-milter" --version)" = "tagstrip-milter $version" ] ||
    fail "tagstrip-milter --version: $("$root/usr/sbin/tagstrip-milter" --version)"
fi
for module in "$root"/usr/lib/tagstrip/*.Analyzer; do
  [ "$(runpath "$module")" = '$ORIGIN' ] || fail "$(basename "$module")'s RUNPATH is '$(runpath "$module")'"
done

if [ -z "$sanitizers" ]; then
  for tree in "$build" "$source_dir"; do
    named=$(grep -rlF -- "$tree" "$root" || true)
    [ -z "$named" ] || fail "installed files name $tree: $named"
  done
fi

installed=$root/usr/bin/tagstrip
libraries=$(ldd "$installed")
grep -qF "$root/usr/bin/../lib/tagstrip/libtagstrip-platform.so" <<<"$libraries" ||
  fail "tagstrip does not load the installed platform library: $(grep tagstrip <<<"$libraries")"
modules() { "$installed" --version | sed -n 's/^module: //p' | tr '\n' ' '; }
[ "$(modules)" = "$root/usr/lib/tagstrip/Remote.Analyzer $root/usr/lib/tagstrip/Tagstrip.Analyzer " ] ||
  fail "--version names other modules: $(modules)"
"$installed" filter --config-dir "$root/etc/tagstrip" <"$source_dir/examples/newsletter.eml" >"$work/out"
grep -q '^X-Tagstrip-Score: [1-9]' "$work/out" || fail "the installed filter did not score the newsletter"

# Only "config" loads the terminal libraries, through the settings window's own library;
# the message about the missing terminal comes from that library once it is loaded.
# liblockfile is loaded only when a mailbox is locked.
! grep -q curses <<<"$libraries" || fail "tagstrip loads curses at start-up: $(grep curses <<<"$libraries")"
! grep -q liblockfile <<<"$libraries" || fail "tagstrip loads liblockfile at start-up"
if [ -f "$build/src/platform/libtagstrip-settings-window.so" ]; then
  if "$installed" config --config-dir "$root/etc/tagstrip" </dev/null >/dev/null 2>"$work/err"; then
    fail "config without a terminal did not fail"
  fi
  grep -qF "needs a terminal" "$work/err" || fail "the installed config did not load its settings window: $(cat "$work/err")"
fi

cp "$root/usr/lib/tagstrip/Tagstrip.Analyzer" "$root/usr/bin/"
[ "$(modules)" = "$root/usr/lib/tagstrip/Remote.Analyzer $root/usr/lib/tagstrip/Tagstrip.Analyzer " ] ||
  fail "a module beside the installed program is preferred to the installed ones: $(modules)"
# LeakSanitizer cannot run under ptrace.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" strace -f -e trace=openat -o "$work/trace" "$installed" filter --config-dir "$root/etc/tagstrip" \
  <"$source_dir/examples/newsletter.eml" >/dev/null
! grep -qF "\"$root/usr/bin\"" "$work/trace" || fail "the installed filter lists its bin directory"

if "$installed" check --module "$work/none" "$source_dir/examples/newsletter.eml" 2>"$work/err" >/dev/null; then
  fail "--module naming no file did not fail"
fi
grep -qF "$work/none" "$work/err" || fail "--module is not the module tried: $(cat "$work/err")"

[ "$failures" -eq 0 ] && echo "installed layout works"
