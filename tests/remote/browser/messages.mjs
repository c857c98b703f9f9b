// Messages of our own making for the browser judge: a newsletter with every kind of
// remote load, and clean controls with none, each as plain, quoted-printable or base64
// HTML, alone, in multipart/alternative or in multipart/mixed.

// Each load points at its own host name (the browser maps every name to the judge's
// server) and its own path, so that the server's log says which kind got through.
export function newsletterHtml(base) {
  const at = (kind) => `http://${kind}.loads.test:${base}/${kind}`;
  return `<!DOCTYPE html>
<html><head><title>Autumn news</title>
<link rel="stylesheet" href="${at('link-stylesheet')}">
<link rel="preload" as="image" href="${at('link-preload')}">
<link rel="prefetch" href="${at('link-prefetch')}">
<link rel="icon" href="${at('link-icon')}">
<style>
@import "${at('import-quoted')}";
@IMPORT url(${at('import-url')});
@font-face { font-family: Brand; src: url(${at('font-face')}) format("woff"); }
h1 { font-family: Brand; }
.hero { background-image: url('${at('style-element-url')}'); height: 20px; }
/* </b> inside a comment ends nothing */ .late { background: url(${at('style-after-end-tag')}); height: 20px; }
</style></head>
<body background="${at('body-background')}">
<h1>Autumn news for Ann</h1>
<div class="hero">Hero</div><div class="late">Late</div>
<p style="background:url(${at('style-attribute')}); height: 20px">Our bulbs are in.</p>
<p style="background:\\75\\72\\6C(${at('style-escaped')}); height: 20px">Escaped.</p>
<p style="background-image:image-set('${at('image-set')}' 1x); height: 20px">Image set.</p>
<p style="background:&#117;rl(${at('style-entity')}); height: 20px">Entity.</p>
<img src="${at('img-src')}" alt="Tulips" width="100" height="50">
<img srcset="${at('img-srcset')} 1x, ${at('img-srcset-2x')} 2x" alt="Crocus">
<picture><source srcset="${at('picture-source')}"><img src="cid:fallback@shop" alt="Fallback"></picture>
<table background="${at('table-background')}"><tr><td>Price list</td><td background="${at('td-background')}">Cell</td></tr></table>
<form><input type="image" src="${at('input-image')}" alt="Order"></form>
<video poster="${at('video-poster')}" src="${at('video-src')}" width="100" height="50">Video</video>
<video width="100" height="50"><source src="${at('video-source')}" type="video/mp4"></video>
<audio src="${at('audio-src')}" controls>Audio</audio>
<embed src="${at('embed-src')}" type="image/png" width="20" height="20">
<object data="${at('object-data')}" type="image/png" width="20" height="20">Object</object>
<iframe src="${at('iframe-src')}" width="20" height="20"></iframe>
<svg width="20" height="20"><image href="${at('svg-image-href')}" width="20" height="20"/></svg>
<svg width="20" height="20" xmlns:xlink="http://www.w3.org/1999/xlink"><image xlink:href="${at('svg-image-xlink')}" width="20" height="20"/></svg>
<img src="${at('pixel-1x1')}?id=7" width="1" height="1" alt="">
<img src="${at('pixel-hidden')}" style="display:none">
<img src="${at('pixel-recipient')}?u=ann%40example.org" width="300">
<img src="http://email.airbnb.com:${base}/wf/open?upn=tracker-list" width="300">
<IMG SRC="${at('upper-case')}" ALT="Upper">
<img/src="${at('slash-after-name')}" alt="Slash">
<img src="&#104;ttp://entity-src.loads.test:${base}/entity-src" alt="Entity source">
<p>1 < 2 and <img src="${at('after-lone-lt')}" alt="After"></p>
<p><a href="https://shop.test/tulips?utm_source=news&id=4">Shop tulips</a></p>
<p>Unsubscribe at any time.</p>
</body></html>
`;
}

export function controlHtml(index) {
  return `<!DOCTYPE html>
<html><head><title>Control ${index}</title><style>p { color: #333; }</style></head>
<body>
<h1>Minutes of meeting ${index}</h1>
<table><tr><td>Present</td><td>Ann, Bo and Cy</td></tr><tr><td>Absent</td><td>nobody</td></tr></table>
<p>We agreed on <b>three</b> points, see <a href="https://intranet.test/minutes/${index}">the minutes</a>.</p>
<p>Logo: <img src="data:image/gif;base64,R0lGODlhAQABAAAAACw=" width="10" height="10"></p>
<p>Price &lt; 10 &amp; more &gt; 2 &mdash; fine.</p>
<ul><li>First item</li><li>Second item</li></ul>
</body></html>
`;
}

function quotedPrintable(text) {
  const bytes = Buffer.from(text, 'utf8');
  let out = '';
  let line = '';
  const push = (piece) => {
    if (line.length + piece.length > 75) {
      out += line + '=\r\n';
      line = '';
    }
    line += piece;
  };
  for (let i = 0; i < bytes.length; i++) {
    const byte = bytes[i];
    if (byte === 0x0a) {
      out += line + '\r\n';
      line = '';
    } else if (byte === 0x3d || byte < 0x20 || byte > 0x7e) {
      push('=' + byte.toString(16).toUpperCase().padStart(2, '0'));
    } else {
      push(String.fromCharCode(byte));
    }
  }
  return out + line;
}

function encodeBody(html, encoding) {
  switch (encoding) {
    case 'plain':
      return { header: '7bit', body: html.replace(/\n/g, '\r\n') };
    case 'quoted-printable':
      return { header: 'quoted-printable', body: quotedPrintable(html) };
    case 'base64':
      return { header: 'base64', body: Buffer.from(html).toString('base64').replace(/.{76}/g, '$&\r\n') };
  }
  throw new Error(`unknown encoding ${encoding}`);
}

function htmlPart(html, encoding) {
  const { header, body } = encodeBody(html, encoding);
  return `Content-Type: text/html; charset=utf-8\r\nContent-Transfer-Encoding: ${header}\r\n\r\n${body}\r\n`;
}

const kHeaders = 'From: News <news@shop.test>\r\nTo: Ann <ann@example.org>\r\nSubject: Autumn\r\nMIME-Version: 1.0\r\n';

export function message(html, encoding, structure) {
  switch (structure) {
    case 'single':
      return kHeaders + htmlPart(html, encoding);
    case 'alternative':
      return kHeaders + 'Content-Type: multipart/alternative; boundary="alt-1"\r\n\r\n' +
        '--alt-1\r\nContent-Type: text/plain\r\n\r\nAutumn news in plain text.\r\n' +
        '--alt-1\r\n' + htmlPart(html, encoding) + '--alt-1--\r\n';
    case 'mixed':
      return kHeaders + 'Content-Type: multipart/mixed; boundary="mix-1"\r\n\r\n' +
        '--mix-1\r\nContent-Type: multipart/alternative; boundary="alt-2"\r\n\r\n' +
        '--alt-2\r\nContent-Type: text/plain\r\n\r\nAutumn news in plain text.\r\n' +
        '--alt-2\r\n' + htmlPart(html, encoding) + '--alt-2--\r\n' +
        '--mix-1\r\nContent-Type: text/plain; name="terms.txt"\r\nContent-Disposition: attachment\r\n\r\nTerms.\r\n' +
        '--mix-1--\r\n';
  }
  throw new Error(`unknown structure ${structure}`);
}

// The HTML part of a message as a mail program shows it: found through the multipart
// boundaries and decoded from its transfer encoding.
export function htmlOf(text) {
  const split = text.search(/\r?\n\r?\n/);
  const headers = text.slice(0, split);
  const body = text.slice(split).replace(/^\r?\n\r?\n/, '');
  const unfolded = headers.replace(/\r?\n[ \t]+/g, ' ');
  const type = (unfolded.match(/^content-type:\s*([^\r\n]*)/im) || [, 'text/plain'])[1];
  const encoding = ((unfolded.match(/^content-transfer-encoding:\s*([^\s;]*)/im) || [, '7bit'])[1]).toLowerCase();
  const boundary = type.match(/boundary="?([^";\r\n]+)"?/i);
  if (/^multipart\//i.test(type) && boundary) {
    for (const part of body.split('--' + boundary[1]).slice(1)) {
      if (part.startsWith('--')) break;
      const html = htmlOf(part.replace(/^\r?\n/, ''));
      if (html !== null) return html;
    }
    return null;
  }
  if (!/^text\/html/i.test(type)) return null;
  if (encoding === 'base64') return Buffer.from(body, 'base64').toString('utf8');
  if (encoding === 'quoted-printable') {
    return Buffer.from(body.replace(/=\r?\n/g, '').replace(/=([0-9A-F]{2})/gi, (_, hex) => String.fromCharCode(parseInt(hex, 16))), 'latin1').toString('utf8');
  }
  return body;
}
