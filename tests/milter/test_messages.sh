# Writes the test messages of the milter tests into a directory, each NAME.eml in LF line
# ends; sourced by the test scripts.
#   write_test_messages DIR SOURCE_DIR
write_test_messages() {
  local dir=$1 source=$2
  mkdir -p "$dir"
  local example
  for example in "$source"/examples/*.eml; do
    cp "$example" "$dir/"
  done

  # HTML in base64, with a script and a web bug.
  {
    printf 'From: offers@example.com\nTo: reader@example.test\nSubject: encoded offer\n'
    printf 'MIME-Version: 1.0\nContent-Type: text/html; charset=utf-8\nContent-Transfer-Encoding: base64\n\n'
    printf '<html><body><p>Deal <script>track()</script></p><img src="http://t.example.com/p.gif?u=1"></body></html>\n' |
      base64 -w 76
  } > "$dir/base64-html.eml"

  # Folded header fields, a read receipt folded over two lines, and forged result fields
  # of our own that must not survive.
  {
    printf 'X-Tagstrip-Score: 9999\nX-Tagstrip-Findings:\n\tforged\n'
    printf 'From: "Folded, Sender"\n <folded@example.com>\nTo: reader@example.test\n'
    printf 'Subject: a subject folded\n\tover two lines\nDisposition-Notification-To:\n <folded@example.com>\n'
    printf 'X-Spacing:   three blanks kept\nMIME-Version: 1.0\nContent-Type: text/html\n\n'
    printf '<p>Hello <script>x()</script><a href="http://example.com/">there</a></p>\n'
  } > "$dir/folded-headers.eml"

  # Broken structure: a multipart whose boundary never closes, a part header line without
  # a colon, a line far longer than a walker's buffer.
  {
    printf 'From: broken@example.com\nTo: reader@example.test\nSubject: broken\nMIME-Version: 1.0\n'
    printf 'Content-Type: multipart/alternative; boundary="B1"\n\n--B1\nContent-Type: text/html\nno colon here\n\n'
    printf '<p>%s<script>y()</script></p>\n' "$(head -c 9000 /dev/zero | tr '\0' 'w')"
    printf -- '--B1\nContent-Type: text/plain\n\nunfinished\n'
  } > "$dir/malformed.eml"
}

# An HTML message of about SIZE bytes, full of scripts, to FILE.
#   write_large_message FILE SIZE
write_large_message() {
  local file=$1 size=$2
  {
    printf 'From: bulk@example.com\nTo: reader@example.test\nSubject: large\nContent-Type: text/html\n\n<html><body>\n'
    local line='<p>Paragraph with <b>bold</b> text <script>counter++</script> and a <a href="http://example.com/x">link</a></p>'
    local count=$(( size / (${#line} + 1) ))
    awk -v line="$line" -v count="$count" 'BEGIN { for (i = 0; i < count; i++) print line }'
    printf '</body></html>\nLAST-LINE\n'
  } > "$file"
}
