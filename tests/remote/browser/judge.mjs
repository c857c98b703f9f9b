// The browser as the judge: every message is rendered in the system's Chromium (images
// and CSS on, JavaScript off, as mail programs render mail) before and after
// `tagstrip filter` with every category of both analyzers removed. Every address points
// at this script's own logging server on 127.0.0.1, and the browser maps every host name
// there, so nothing leaves the machine.
//   node judge.mjs TAGSTRIP
import { spawnSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

import { controlHtml, htmlOf, message, newsletterHtml } from './messages.mjs';

const tagstrip = process.argv[2];
const work = mkdtempSync(path.join(os.tmpdir(), 'tagstrip-browser-'));
// Everything of both analyzers removed; and the Tagstrip analyzer's defaults beside it.
const removeAllConfig = path.join(work, 'remove-all');
const defaultConfig = path.join(work, 'defaults');
mkdirSync(removeAllConfig);
mkdirSync(defaultConfig);
writeFileSync(path.join(removeAllConfig, 'Tagstrip.ini'), '[Settings]\r\nFlags=255\r\n');
writeFileSync(path.join(removeAllConfig, 'Remote.ini'), '[Settings]\r\nFlags=15\r\n');
writeFileSync(path.join(defaultConfig, 'Remote.ini'), '[Settings]\r\nFlags=15\r\n');

// What the browser asked for since the last reset: requests by path, and connections.
const log = { requests: [], connections: 0 };
const server = http.createServer((request, response) => {
  log.requests.push(request.url);
  response.writeHead(404, { 'Content-Type': 'text/plain' });
  response.end();
});
server.on('connection', () => { log.connections += 1; });
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const port = server.address().port;

const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  headless: true,
  userDataDir: path.join(work, 'profile'),
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync',
         '--host-resolver-rules=MAP * 127.0.0.1'],
});

// Fonts, media and lazy images come after the load event: the page is done when the
// server has heard nothing new for half a second (at most five seconds in all).
async function quietServer() {
  const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
  const deadline = Date.now() + 5000;
  let seen = -1;
  while (Date.now() < deadline && seen !== log.requests.length + log.connections) {
    seen = log.requests.length + log.connections;
    await pause(500);
  }
}

async function render(html) {
  log.requests = [];
  log.connections = 0;
  const page = await browser.newPage();
  await page.setJavaScriptEnabled(false);
  await page.setViewport({ width: 1000, height: 3000 });
  const started = Date.now();
  await page.setContent(html, { waitUntil: 'load', timeout: 20000 });
  await quietServer();
  if (process.env.TAGSTRIP_JUDGE_TIMES) console.log(`render ${Date.now() - started} ms`);
  const text = await page.evaluate(() => (document.body ? document.body.innerText : ''));
  await page.close();
  return { requests: [...log.requests], connections: log.connections, text };
}

function filter(text, config) {
  const run = spawnSync(tagstrip, ['filter', '--config-dir', config], { input: text, encoding: 'latin1' });
  if (run.status !== 0) throw new Error(`tagstrip filter exited ${run.status}: ${run.stderr}`);
  return run.stdout;
}

const words = (text) => text.split(/\s+/).filter(Boolean).join(' ');
const letters = (text) => text.replace(/\s+/g, '');
let passed = 0;
let failed = 0;
function check(ok, name, detail) {
  if (ok) {
    passed += 1;
  } else {
    failed += 1;
    console.log(`FAIL ${name}: ${detail}`);
  }
}

// TAGSTRIP_JUDGE_ENCODINGS=plain narrows the run while working on the judge.
const encodings = (process.env.TAGSTRIP_JUDGE_ENCODINGS || 'plain,quoted-printable,base64').split(',');
try {
  for (const encoding of encodings) {
    for (const structure of ['single', 'alternative', 'mixed']) {
      const name = `newsletter ${encoding} ${structure}`;
      const original = message(newsletterHtml(port), encoding, structure);
      const before = await render(htmlOf(original));
      const after = await render(htmlOf(filter(original, removeAllConfig)));
      console.log(`${name}: ${before.requests.length} requests before, ${after.requests.length} after`);
      check(before.requests.length >= 20, `${name} before`, `only ${before.requests.join(' ')}`);
      check(after.requests.length === 0 && after.connections === 0, `${name} after`,
            `${after.connections} connections, requests ${after.requests.join(' ')}`);
      check(after.text.includes('Our bulbs are in.') && after.text.includes('Unsubscribe at any time.'),
            `${name} text`, after.text);
    }
    for (let index = 1; index <= 3; ++index) {
      const structure = ['single', 'alternative', 'mixed'][index - 1];
      const name = `control ${index} ${encoding} ${structure}`;
      const original = message(controlHtml(index), encoding, structure);
      const before = await render(htmlOf(original));
      check(before.requests.length === 0, `${name} loads nothing`, before.requests.join(' '));
      // The Tagstrip analyzer's default settings keep formatting: the text stays as it was.
      const after = await render(htmlOf(filter(original, defaultConfig)));
      check(words(before.text) === words(after.text), `${name} text`,
            `before "${words(before.text)}", after "${words(after.text)}"`);
      // With its formatting removed, table cells and list items run together, but no
      // character of the text goes.
      const bare = await render(htmlOf(filter(original, removeAllConfig)));
      check(letters(before.text) === letters(bare.text), `${name} letters`,
            `before "${letters(before.text)}", after "${letters(bare.text)}"`);
    }
  }
} finally {
  await browser.close();
  server.close();
  rmSync(work, { recursive: true, force: true });
}
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
