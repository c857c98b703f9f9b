-- The milter against miltertest, an MTA stand-in we did not write. Globals given with -D:
--   milter  the tagstrip-milter program      work  the directory the driver prepared
--   tagstrip  the tagstrip program (to change the settings before SIGHUP)
-- For every message NAME.eml in work, the driver wrote NAME.<flags>.want: what
-- `tagstrip filter` writes for it in CRLF line ends under those settings. It also wrote
-- milter.conf, which gives every option once, and the skip lists it names.

local socket = "unix:" .. work .. "/milter.sock"
local failures = 0

local function fail(text)
  mt.echo("FAIL: " .. text)
  failures = failures + 1
end

local function read_file(path)
  local file = assert(io.open(path, "rb"))
  local text = file:read("*a")
  file:close()
  return text
end

local function write_file(path, text)
  local file = assert(io.open(path, "wb"))
  file:write(text)
  file:close()
end

local function command_output(command)
  local pipe = assert(io.popen(command))
  local text = pipe:read("*a")
  pipe:close()
  return (text:gsub("%s+$", ""))
end

-- Header fields (name, value as the milter protocol carries it: leading blanks kept,
-- folds as LF) and the body of a message in LF or CRLF line ends.
local function parse_message(text)
  text = text:gsub("\r\n", "\n")
  local header, body = text:match("^(.-\n)\n(.*)$")
  local fields = {}
  for line in header:gmatch("([^\n]*)\n") do
    if line:match("^[ \t]") then
      fields[#fields].value = fields[#fields].value .. "\n" .. line
    else
      local name, value = line:match("^([^:]*):(.*)$")
      fields[#fields + 1] = { name = name, value = value }
    end
  end
  return fields, body:gsub("\n", "\r\n")
end

-- Waits up to ten seconds for the milter's log to show pattern.
local function wait_for_log(pattern)
  for _ = 1, 100 do
    local file = io.open(work .. "/milter.log", "rb")
    local text = file and file:read("*a") or ""
    if file then
      file:close()
    end
    if text:find(pattern) then
      return
    end
    mt.sleep(0.1)
  end
  fail("the log never showed " .. pattern)
end

local function check(condition, text)
  if not condition then
    fail(text)
  end
end

local function start_message(conn, fields, recipients)
  check(mt.mailfrom(conn, "sender@example.com") == nil, "MAIL")
  for _, recipient in ipairs(recipients or { "reader@example.test" }) do
    check(mt.rcptto(conn, recipient) == nil, "RCPT " .. recipient)
  end
  for _, field in ipairs(fields) do
    check(mt.header(conn, field.name, field.value) == nil, "header " .. field.name)
  end
  check(mt.eoh(conn) == nil, "EOH")
end

local function finish_message(conn, body)
  check(mt.bodystring(conn, body) == nil, "body")
  check(mt.eom(conn) == nil, "EOM")
  check(mt.getreply(conn) == SMFIR_ACCEPT, "EOM not answered with accept")
end

-- The edits the milter asked for turn the message into the filter's output: our fields
-- inserted (or forged ones changed) with the filter's values, the fields the filter dropped deleted, the body
-- replaced by the filter's body or left alone when the filter kept it.
local function check_filtered(conn, label, fields, body, want)
  local wanted_fields, wanted_body = parse_message(want)
  local kept = {}
  for _, field in ipairs(wanted_fields) do
    kept[field.name .. ":" .. field.value] = true
    if field.name:match("^X%-Tagstrip") then
      check(mt.eom_check(conn, MT_HDRINSERT, field.name, field.value) or
            mt.eom_check(conn, MT_HDRCHANGE, field.name, field.value),
            label .. ": " .. field.name .. " not given the value the filter writes")
    end
  end
  for _, field in ipairs(fields) do
    if not kept[field.name .. ":" .. field.value] then
      check(mt.eom_check(conn, MT_HDRDELETE, field.name) or mt.eom_check(conn, MT_HDRCHANGE, field.name),
            label .. ": " .. field.name .. " not removed or changed")
    end
  end
  if wanted_body ~= body then
    check(mt.eom_check(conn, MT_BODYCHANGE, wanted_body), label .. ": body not replaced by the filter's")
  else
    check(not mt.eom_check(conn, MT_BODYCHANGE), label .. ": body replaced although the filter keeps it")
  end
end

local function connect(address)
  local conn = mt.connect(socket, 50, 0.1)
  assert(conn, "cannot connect to " .. socket)
  check(mt.conninfo(conn, "client.example", address or "192.0.2.1") == nil, "conninfo")
  return conn
end

local function run_case(name, flags)
  local fields, body = parse_message(read_file(work .. "/" .. name .. ".eml"))
  local conn = connect()
  start_message(conn, fields)
  finish_message(conn, body)
  check_filtered(conn, name, fields, body, read_file(work .. "/" .. name .. "." .. flags .. ".want"))
  mt.disconnect(conn)
end

-- The file sets everything else (among them --foreground, the log file and the socket's
-- mode); the command line wins for the socket, --max-size (9999 in the file) and
-- --local-net (192.0.2.0/24, where the test client comes from, in the file).
mt.startfilter(milter, "-c", work .. "/milter.conf", "--socket", socket, "--max-size", "4000",
               "--local-net", "10.0.0.0/8, fd00::/8")
do
  local conn = mt.connect(socket, 50, 0.1)
  assert(conn, "cannot connect to " .. socket)
  mt.disconnect(conn)
  check(command_output("stat -c %a " .. work .. "/milter.sock") == "600", "socket-mode from the file not applied")
  check(io.open(work .. "/milter.pid") ~= nil, "no pidfile as the file asks")
  check(io.open(work .. "/file.sock") == nil, "the file's socket used although the command line names one")
end

-- The site's own mail passes untouched: clients in --local-net at connect, authenticated
-- senders ({auth_authen}) at MAIL FROM.
for _, address in ipairs({ "10.1.2.3", "fd00::5" }) do
  local conn = connect(address)
  check(mt.getreply(conn) == SMFIR_ACCEPT, address .. " in --local-net not passed on at connect")
  mt.disconnect(conn)
end
for _, address in ipairs({ "127.0.0.1", "11.0.0.1", "2001:db8::5" }) do
  local conn = connect(address)
  check(mt.getreply(conn) == SMFIR_CONTINUE, address .. " outside --local-net passed on at connect")
  mt.disconnect(conn)
end
do
  local conn = connect()
  check(mt.helo(conn, "client.example") == nil, "HELO")
  mt.macro(conn, SMFIC_MAIL, "{auth_authen}", "alice")
  check(mt.mailfrom(conn, "alice@example.com") == nil, "MAIL")
  check(mt.getreply(conn) == SMFIR_ACCEPT, "an authenticated sender not passed on at MAIL FROM: " .. tostring(mt.getreply(conn)))
  mt.disconnect(conn)
end

-- --skip-from: the sender at MAIL FROM, in any letter case, with ESMTP parameters, the
-- null sender, a listed domain but not its subdomains.
for _, case in ipairs({ { "<Bounces@Example.COM>", SMFIR_ACCEPT }, { "<>", SMFIR_ACCEPT },
                        { "<news@lists.example.net>", SMFIR_ACCEPT },
                        { "<news@sub.lists.example.net>", SMFIR_CONTINUE },
                        { "<bounces@example.com.example.org>", SMFIR_CONTINUE } }) do
  local conn = connect()
  check(mt.mailfrom(conn, case[1], "SIZE=1200", "BODY=8BITMIME") == nil, "MAIL " .. case[1])
  check(mt.getreply(conn) == case[2], "sender " .. case[1] .. ": reply " .. tostring(mt.getreply(conn)))
  mt.disconnect(conn)
end

-- --skip-to: a message passes at the end of its header when every recipient is listed;
-- with one recipient not listed, it is filtered as any other.
do
  local fields, body = parse_message(read_file(work .. "/script-refresh.eml"))
  local conn = connect()
  start_message(conn, fields, { "<Archive@Example.test>", "<robot-17@example.test>" })
  check(mt.getreply(conn) == SMFIR_ACCEPT, "every recipient in --skip-to, yet not passed on at EOH")
  mt.disconnect(conn)
  conn = connect()
  start_message(conn, fields, { "<archive@example.test>", "<reader@example.test>" })
  check(mt.getreply(conn) == SMFIR_CONTINUE, "only some recipients in --skip-to, yet passed on at EOH")
  finish_message(conn, body)
  check_filtered(conn, "some recipients listed", fields, body, read_file(work .. "/script-refresh.65.want"))
  mt.disconnect(conn)
end

-- Default settings (Flags 65: scripts and web bugs removed).
for _, name in ipairs({ "script-refresh", "plain-text", "clean-html", "base64-html", "small-malformed",
                        "read-receipt", "folded-headers" }) do
  run_case(name, 65)
end

-- Over --max-size: passed on as soon as the limit is crossed, nothing changed.
do
  local conn = connect()
  start_message(conn, { { name = "Content-Type", value = " text/html" } })
  check(mt.bodystring(conn, string.rep("<p><script>x()</script></p>\r\n", 200)) == nil, "large body")
  check(mt.getreply(conn) == SMFIR_ACCEPT, "oversize message not accepted at once")
  mt.disconnect(conn)
end

-- Twenty connections at once, each with a message in progress before any ends.
do
  local fields, body = parse_message(read_file(work .. "/script-refresh.eml"))
  local want = read_file(work .. "/script-refresh.65.want")
  local conns = {}
  for i = 1, 20 do
    conns[i] = connect()
    start_message(conns[i], fields)
  end
  for i = 1, 20 do
    finish_message(conns[i], body)
    check_filtered(conns[i], "connection " .. i, fields, body, want)
    mt.disconnect(conns[i])
  end
end

local function sender_reply(conn, sender)
  check(mt.mailfrom(conn, sender) == nil, "MAIL " .. sender)
  return mt.getreply(conn)
end

-- SIGHUP: the settings, the configuration file and the skip lists are read again for the
-- connections that follow (all removals on; late@example.com skipped); a connection made
-- before keeps what it started with; a new socket mode waits for a restart.
local held = connect()
check(sender_reply(held, "late@example.com") == SMFIR_CONTINUE, "late@example.com skipped before the reload")
mt.abort(held)
os.execute(tagstrip .. " settings --config-dir " .. work .. "/config --set Flags=255 > /dev/null")
write_file(work .. "/skip-from", read_file(work .. "/skip-from") .. "late@example.com\n")
local configuration = read_file(work .. "/milter.conf")
write_file(work .. "/milter.conf", (configuration:gsub("socket%-mode 0600", "socket-mode 0640")))
mt.signal(1)
wait_for_log("settings read again")
wait_for_log("socket%-mode changed in [^\n]*: takes effect after a restart")
run_case("read-receipt", 255)
run_case("folded-headers", 255)
do
  local conn = connect()
  check(sender_reply(conn, "late@example.com") == SMFIR_ACCEPT, "the reloaded --skip-from not in force")
  mt.disconnect(conn)
  check(sender_reply(held, "late@example.com") == SMFIR_CONTINUE,
        "a connection made before the reload took the new --skip-from")
  mt.disconnect(held)
end

-- A bad file on SIGHUP: the problems are logged, the options in force stay.
write_file(work .. "/milter.conf", configuration .. "mode fast\n")
mt.signal(1)
wait_for_log("configuration not read again")
do
  local conn = connect()
  check(sender_reply(conn, "late@example.com") == SMFIR_ACCEPT, "a bad file on SIGHUP dropped the options in force")
  mt.disconnect(conn)
end

-- SIGTERM with a message in flight: a message begun meanwhile passes untouched, the one in
-- flight is still filtered, and then the milter ends. The new message is sent while the
-- other is in flight, because once none is the milter stops serving every connection.
do
  local fields, body = parse_message(read_file(work .. "/script-refresh.eml"))
  local conn = connect()
  start_message(conn, fields)
  mt.signal(15)
  wait_for_log("stopping: ")
  local late = connect()
  check(mt.mailfrom(late, "sender@example.com") == nil, "MAIL after SIGTERM")
  check(mt.getreply(late) == SMFIR_ACCEPT, "a message after SIGTERM is not passed on at once")
  mt.disconnect(late)
  finish_message(conn, body)
  check_filtered(conn, "in flight at SIGTERM", fields, body, read_file(work .. "/script-refresh.255.want"))
  mt.disconnect(conn)
end

if failures > 0 then
  error(failures .. " check(s) failed")
end
mt.echo("all milter cases passed")
