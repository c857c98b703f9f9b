# A private Postfix instance under one directory (configuration, queue, Maildirs), SMTP on
# 127.0.0.1 only, virtual delivery to NAME@example.test -> T/mail/NAME/; sourced by the
# milter test and benchmark. Needs root.

# A 127.0.0.1 port where nothing listens.
free_port() {
  local port
  for port in $(shuf -i 20000-60000 -n 50); do
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
      echo "$port"
      return
    fi
  done
}

# private_postfix_create T NAME... : configuration and directories for those mailboxes.
private_postfix_create() {
  local T=$1 name
  shift
  chmod 755 "$T"
  mkdir -p "$T/etc" "$T/spool" "$T/data" "$T/mail"
  chown postfix "$T/data"
  for name in "$@"; do
    echo "$name@example.test $name/"
  done > "$T/etc/vmailbox"
  chown -R 65534:65534 "$T/mail"
  cat > "$T/etc/main.cf" <<CONF
compatibility_level = 3.6
queue_directory = $T/spool
data_directory = $T/data
myhostname = test.invalid
mydestination =
inet_interfaces = 127.0.0.1
inet_protocols = ipv4
mynetworks = 127.0.0.0/8
smtpd_peername_lookup = no
smtp_dns_support_level = disabled
default_transport = error:no outbound mail in tests
alias_maps =
local_recipient_maps =
virtual_mailbox_domains = example.test
virtual_mailbox_base = $T/mail
virtual_mailbox_maps = texthash:$T/etc/vmailbox
virtual_uid_maps = static:65534
virtual_gid_maps = static:65534
local_header_rewrite_clients =
message_size_limit = 10240000
milter_default_action = tempfail
maillog_file = $T/maillog
maillog_file_prefixes = $T
CONF
  cat > "$T/etc/master.cf" <<CONF
pickup    unix  n       -       n       60      1       pickup
cleanup   unix  n       -       n       -       0       cleanup
qmgr      unix  n       -       n       300     1       qmgr
rewrite   unix  -       -       n       -       -       trivial-rewrite
bounce    unix  -       -       n       -       0       bounce
defer     unix  -       -       n       -       0       bounce
trace     unix  -       -       n       -       0       bounce
verify    unix  -       -       n       -       1       verify
flush     unix  n       -       n       1000?   0       flush
proxymap  unix  -       -       n       -       -       proxymap
showq     unix  n       -       n       -       -       showq
error     unix  -       -       n       -       -       error
retry     unix  -       -       n       -       -       error
discard   unix  -       -       n       -       -       discard
virtual   unix  -       n       n       -       -       virtual
anvil     unix  -       -       n       -       1       anvil
scache    unix  -       -       n       -       1       scache
postlog   unix-dgram n  -       n       -       1       postlogd
CONF
}

# private_postfix_listen T PORT [MILTER_SOCKET [PARAMETER=VALUE...]] : an SMTP listener,
# with the milter if given, and main.cf parameters of its own.
private_postfix_listen() {
  local T=$1 port=$2 milter=${3:-} parameter
  local line="127.0.0.1:$port inet n - n - - smtpd${milter:+ -o smtpd_milters=$milter}"
  for parameter in "${@:4}"; do
    line+=" -o $parameter"
  done
  echo "$line" >> "$T/etc/master.cf"
}

private_postfix_start() {
  postfix -c "$1/etc" start >/dev/null 2>&1
}

private_postfix_stop() {
  postfix -c "$1/etc" stop >/dev/null 2>&1
}

# The delivered message without the fields Postfix adds in front.
strip_postfix_fields() {
  awk 'top && /^(Return-Path|Delivered-To|X-Original-To):/ { next }
       { top = 0 }
       header && /^$/ { header = 0 }
       header && !seen && /^Received:/ { seen = 1; skipping = 1; next }
       header && skipping && /^[ \t]/ { next }
       { skipping = 0; print }' top=1 header=1 "$1"
}

# Postfix stores lines without their ends (delivering LF) and drops Return-Path fields
# from incoming mail.
as_postfix_stores() {
  sed 's/\r$//' | awk 'header && /^$/ { header = 0 } header && /^Return-Path:/ { next } { print }' header=1
}
