#!/usr/bin/env python3
"""Writes the benchmark mailbox: a fixed, seeded mix of newsletter-like HTML pages, plain
text mail and multipart messages (alternative text and HTML, mixed with attachments),
with a few long single-line pages and a few pages of several hundred kilobytes.

    bench/make_bench_mbox.py [--messages N] [--seed S] OUTPUT
"""
import argparse
import base64
import random

WORDS = ("the of and to in a is that for it as with was on be by this are at or "
         "an have not but all were they which one you had can there their more will "
         "offer sale free today members news week update account price order shipping "
         "discount exclusive limited new read story event spring summer winter garden "
         "travel recipe family report market season style home").split()


def sentence(rng, low=6, high=18):
    words = [rng.choice(WORDS) for _ in range(rng.randint(low, high))]
    return " ".join(words).capitalize() + "."


def paragraph(rng, sentences=None):
    return " ".join(sentence(rng) for _ in range(sentences or rng.randint(2, 6)))


def tracking_url(rng, host):
    return "https://%s/track/open?u=%x&id=%x&e=%d" % (host, rng.getrandbits(48), rng.getrandbits(32),
                                                     rng.randint(1, 99999))


def newsletter_html(rng, blocks, one_line):
    host = rng.choice(["news.example.com", "mail.shop.example", "list.club.example.org"])
    parts = ['<!DOCTYPE html PUBLIC "-//W3C//DTD XHTML 1.0 Transitional//EN">',
             "<html><head>",
             '<meta http-equiv="Content-Type" content="text/html; charset=utf-8">',
             '<meta name="viewport" content="width=device-width, initial-scale=1.0">',
             "<title>%s</title>" % sentence(rng, 3, 6),
             "<style type=\"text/css\">\n@import url(https://%s/fonts.css);\n"
             "body { margin: 0; padding: 0; } .btn { color: #ffffff; background: #%06x; }\n"
             "td { font-family: Arial, sans-serif; font-size: 14px; }\n</style>" % (host, rng.getrandbits(24)),
             '<!--[if mso]><xml><o:OfficeDocumentSettings><o:AllowPNG/></o:OfficeDocumentSettings></xml><![endif]-->',
             "</head>",
             '<body style="margin:0; padding:0;" bgcolor="#f4f4f4">',
             '<table width="100%" cellpadding="0" cellspacing="0" border="0" role="presentation">']
    for block in range(blocks):
        kind = rng.random()
        parts.append('<tr><td align="left" style="padding: 12px 24px; color:#333333;">')
        if kind < 0.35:
            parts.append('<h2 style="margin:0 0 8px 0;">%s</h2>' % sentence(rng, 3, 8))
            parts.append("<p>%s</p>" % paragraph(rng))
        elif kind < 0.6:
            parts.append('<a href="https://%s/c/%x?utm_source=newsletter&amp;utm_medium=email" '
                         'target="_blank" style="text-decoration:none;"><img src="https://%s/img/%x.jpg" '
                         'width="600" height="%d" alt="%s" border="0" style="display:block;"></a>'
                         % (host, rng.getrandbits(40), host, rng.getrandbits(32), rng.randint(120, 400),
                            sentence(rng, 2, 5)))
            parts.append("<p>%s <a href=\"https://%s/r/%x\">%s</a></p>"
                         % (paragraph(rng, 2), host, rng.getrandbits(40), sentence(rng, 2, 4)))
        elif kind < 0.8:
            parts.append('<table width="100%%" cellpadding="4"><tr>%s</tr></table>'
                         % "".join('<td width="33%%" valign="top"><font face="Arial" size="2">%s</font>'
                                   '<br><span class="price">$%d.99</span></td>'
                                   % (sentence(rng, 4, 9), rng.randint(5, 400)) for _ in range(3)))
        elif kind < 0.9:
            parts.append('<div class="btn"><a href="https://%s/buy?id=%d" class="btn" '
                         'style="padding:10px 20px; border-radius:4px;">%s</a></div>'
                         % (host, rng.randint(1, 10 ** 6), sentence(rng, 2, 3)))
        else:
            parts.append("<!-- block %d -->\n<p style=\"font-size:12px\">%s</p>" % (block, paragraph(rng, 1)))
        parts.append("</td></tr>")
    if rng.random() < 0.3:
        parts.append('<script type="text/javascript">var t = "%x"; if (a < b) { track(t); }</script>'
                     % rng.getrandbits(32))
    parts.append('<tr><td><img src="%s" width="1" height="1" alt=""></td></tr>' % tracking_url(rng, host))
    parts.append('<tr><td style="font-size:11px; color:#999999;">%s <a href="https://%s/unsubscribe">'
                 'Unsubscribe</a></td></tr>' % (paragraph(rng, 1), host))
    parts.append("</table></body></html>")
    return "".join(parts) if one_line else "\n".join(parts)


def plain_text(rng, paragraphs):
    return "\n\n".join("\n".join(wrap(paragraph(rng))) for _ in range(paragraphs))


def wrap(text, width=72):
    lines, line = [], ""
    for word in text.split():
        if len(line) + len(word) + 1 > width:
            lines.append(line)
            line = word
        else:
            line = word if not line else line + " " + word
    lines.append(line)
    return lines


def headers(rng, index, content_type, extra=""):
    return ("From: Sender %d <sender%d@example.com>\nTo: reader@example.org\n"
            "Subject: %s\nDate: Mon, 13 Oct 2025 10:%02d:%02d +0000\nMessage-ID: <bench-%d@example.com>\n"
            "MIME-Version: 1.0\n%sContent-Type: %s\n\n"
            % (index % 97, index % 97, sentence(rng, 3, 7), (index // 60) % 60, index % 60, index,
               extra, content_type))


def message(rng, index):
    kind = rng.random()
    receipt = "Disposition-Notification-To: <sender@example.com>\n" if rng.random() < 0.05 else ""
    if kind < 0.45:
        big = rng.random() < 0.02
        blocks = rng.randint(150, 400) if big else rng.randint(6, 40)
        html = newsletter_html(rng, blocks, one_line=rng.random() < 0.15)
        return headers(rng, index, 'text/html; charset="utf-8"', receipt) + html + "\n"
    if kind < 0.7:
        return headers(rng, index, "text/plain; charset=us-ascii") + plain_text(rng, rng.randint(2, 12)) + "\n"
    if kind < 0.9:
        boundary = "alt-%x" % rng.getrandbits(48)
        html = newsletter_html(rng, rng.randint(6, 30), one_line=False)
        return (headers(rng, index, 'multipart/alternative; boundary="%s"' % boundary, receipt)
                + "This is a multi-part message in MIME format.\n\n"
                + "--%s\nContent-Type: text/plain; charset=utf-8\n\n%s\n\n" % (boundary, plain_text(rng, 4))
                + "--%s\nContent-Type: text/html; charset=utf-8\n\n%s\n\n--%s--\n" % (boundary, html, boundary))
    boundary = "mix-%x" % rng.getrandbits(48)
    inner = "alt-%x" % rng.getrandbits(48)
    attachment = base64.encodebytes(rng.randbytes(rng.randint(2000, 60000))).decode("ascii")
    return (headers(rng, index, 'multipart/mixed; boundary="%s"' % boundary)
            + "--%s\nContent-Type: multipart/alternative; boundary=\"%s\"\n\n" % (boundary, inner)
            + "--%s\nContent-Type: text/plain\n\n%s\n\n" % (inner, plain_text(rng, 3))
            + "--%s\nContent-Type: text/html\n\n%s\n\n--%s--\n\n" % (inner, newsletter_html(rng, 8, False), inner)
            + "--%s\nContent-Type: application/pdf; name=\"report.pdf\"\nContent-Transfer-Encoding: base64\n"
              "Content-Disposition: attachment; filename=\"report.pdf\"\n\n%s\n--%s--\n"
            % (boundary, attachment, boundary))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--messages", type=int, default=1600)
    parser.add_argument("--seed", type=int, default=13)
    parser.add_argument("output")
    arguments = parser.parse_args()
    rng = random.Random(arguments.seed)
    with open(arguments.output, "w", encoding="ascii", newline="\n") as out:
        for index in range(arguments.messages):
            out.write("From sender@example.com Mon Oct 13 10:00:00 2025\n")
            out.write(message(rng, index))
            out.write("\n")


if __name__ == "__main__":
    main()
