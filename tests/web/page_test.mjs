// The browser build in Debian's chromium, headless, against a static server
// on 127.0.0.1: every golden demo replays in the page bit for bit; a game
// played in the page with the mouse and keyboard, saved as a demo, replays
// in the native game; one frame of the page's screen equals the native
// export of that frame; and a screenshot of the page for the README.
//   node page_test.mjs WEB_DIR DEMO_DIR NATIVE_VORN WORK_DIR
import { execFileSync, spawnSync } from 'node:child_process';
import { createRequire } from 'node:module';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';

const [webDir, demoDir, vorn, work] = process.argv.slice(2).map((p) => path.resolve(p));
const require = createRequire(path.join(work, 'package.json'));
const { chromium } = require('playwright-core');

let failures = 0;
let passes = 0;
function check(ok, what) {
  console.log((ok ? 'ok: ' : 'FAIL: ') + what);
  if (ok) passes += 1;
  else failures += 1;
}

// Serves the page's folder, with the golden demos beside its files.
function serve(roots) {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };
  const server = http.createServer((request, response) => {
    const name = path.basename(decodeURIComponent(new URL(request.url, 'http://x').pathname)) || 'index.html';
    const file = roots.map((root) => path.join(root, name)).find((f) => fs.existsSync(f));
    if (!file) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// The last line of a demo: "end FRAMES CHECKSUM".
function demoEnd(file) {
  const lines = fs.readFileSync(file, 'utf8').trim().split('\n');
  const [, frames, checksum] = lines[lines.length - 1].split(' ');
  return { frames: Number(frames), checksum };
}

async function result(page) {
  await page.waitForFunction(() => window.vorn_result !== undefined, null, { timeout: 240000 });
  return page.evaluate(() => window.vorn_result);
}

async function goldenDemos(page, base) {
  const timings = [];
  for (const name of fs.readdirSync(demoDir).filter((n) => n.endsWith('.demo')).sort()) {
    await page.goto(base + '/index.html?demo=' + name + '&fast=1');
    const r = await result(page);
    const file = path.join(demoDir, name);
    const end = demoEnd(file);
    if (fs.readFileSync(file, 'utf8').startsWith('vorn-demo 1\n')) {
      // Format 1 takes the C library's arctangent, and the browser's is not
      // glibc's: the page must replay it or name the check it departs at.
      const named = await page.evaluate(() => document.getElementById('status').textContent);
      check(r.ok ? r.checksum === end.checksum : r.frames % 60 === 0 && named.includes('departs') && named.includes(String(r.frames)),
        `${name} (format 1) replays or names its departure: ${named}`);
      continue;
    }
    check(r.ok && r.frames === end.frames && r.checksum === end.checksum,
      `${name} replays in the page: ${r.frames} frames, checksum ${r.checksum} (recorded ${end.frames}, ${end.checksum})`);
    if (r.timedemo) timings.push(`${name}: ${r.timedemo}`);
  }
  return timings;
}

// The page's screen after frame N of a golden demo against the native
// export of frame N, as raw RGBA.
async function sameFrame(page, base, name, frame) {
  await page.goto(base + '/index.html?demo=' + name + '&fast=1&frames=' + frame);
  const r = await result(page);
  check(r.ok && r.frames === frame, `${name} stops in the page after frame ${frame}`);
  const pagePixels = Buffer.from(await page.evaluate(() => {
    const canvas = document.getElementById('screen');
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let text = '';
    for (let i = 0; i < data.length; i += 0x8000) text += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
    return btoa(text);
  }), 'base64');
  const dir = path.join(work, 'frames');
  fs.rmSync(dir, { recursive: true, force: true });
  execFileSync(vorn, ['--headless', '--play', path.join(demoDir, name), '--frames', String(frame),
    '--export-frames', dir, '--export-every', String(frame)]);
  const png = path.join(dir, 'frame-' + String(frame).padStart(6, '0') + '.png');
  const native = execFileSync('convert', [png, '-depth', '8', 'rgba:-'], { maxBuffer: 1 << 26 });
  let differing = 0;
  for (let i = 0; i < native.length; i += 1) differing += native[i] !== pagePixels[i];
  check(native.length === pagePixels.length && differing === 0,
    `frame ${frame} of ${name}: the page's screen equals the native export (${differing} bytes differ)`);
}

// A game played in the page, recorded and saved, replays natively.
async function playedGame(page, base) {
  await page.goto(base + '/index.html?enemy_count=3');
  await page.waitForFunction(() => document.getElementById('status').textContent.startsWith('Playing'));
  await page.click('#record');
  await page.waitForFunction(() => document.getElementById('status').textContent.startsWith('Recording'));
  const box = await page.locator('#screen').boundingBox();
  const at = (fx, fy) => [box.x + box.width * fx, box.y + box.height * fy];
  await page.mouse.move(...at(0.5, 0.5));
  await page.keyboard.down('w');
  for (let i = 0; i < 20; i += 1) {
    await page.mouse.move(...at(0.3 + 0.02 * i, 0.2 + 0.03 * i), { steps: 3 });
    await page.waitForTimeout(30);
  }
  await page.mouse.down();
  await page.waitForTimeout(400);
  await page.keyboard.up('w');
  await page.keyboard.down('ArrowDown');
  await page.mouse.move(...at(0.8, 0.7), { steps: 10 });
  await page.waitForTimeout(300);
  await page.keyboard.up('ArrowDown');
  await page.mouse.up();
  for (const key of ['m', 'd', 'Space', 'Space', 'd']) {
    await page.keyboard.press(key);
    await page.waitForTimeout(100);
  }
  await page.keyboard.down('Shift');
  await page.mouse.click(...at(0.6, 0.4));
  await page.keyboard.up('Shift');
  await page.waitForTimeout(1500);
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#save')]);
  const file = path.join(work, 'played-in-page.demo');
  await download.saveAs(file);
  const text = fs.readFileSync(file, 'utf8');
  const frames = (text.match(/^f /gm) || []).length;
  const keys = new Set((text.match(/^e [34] 0 0 \d+/gm) || []).map((l) => l.split(' ')[4]));
  check(text.startsWith('vorn-demo 2\n') && /\nend \d+ [0-9a-f]{16}\n$/.test(text) && frames >= 60,
    `the page saved a demo of ${frames} frames`);
  check(text.includes('\nset enemy_count=3\n'), 'the setting in the address reached the game');
  // Keys arrive under the desktop's symbols: w, Down, Space, Shift.
  check(['119', '274', '32', '304'].every((k) => keys.has(k)), `its keys are the desktop's: ${[...keys].join(' ')}`);
  const replay = spawnSync(vorn, ['--headless', '--play', file], { encoding: 'utf8' });
  check(replay.status === 0, `it replays natively bit for bit (exit ${replay.status}) ${replay.stderr.trim()}`);
  // And in the page, opened as a player opens a file.
  await page.setInputFiles('#demo-file', file);
  await page.waitForFunction(() => document.getElementById('status').textContent.startsWith('played-in-page.demo'),
    null, { timeout: 120000 });
  const said = await page.evaluate(() => document.getElementById('status').textContent);
  check(said === `played-in-page.demo replays bit for bit: ${frames} frames`, `opened in the page: ${said}`);
}

async function main() {
  const server = await serve([webDir, demoDir]);
  const base = 'http://127.0.0.1:' + server.address().port;
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vorn-chromium-'));
  const browser = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    acceptDownloads: true,
    viewport: { width: 1000, height: 700 },
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  try {
    const page = browser.pages()[0] || (await browser.newPage());
    page.on('pageerror', (e) => check(false, 'no error in the page: ' + e.message));
    const messages = [];
    page.on('console', (m) => messages.push(m.text()));
    const timings = await goldenDemos(page, base);
    await sameFrame(page, base, 'shoot_enemy.demo', 300);
    messages.length = 0;
    await playedGame(page, base);
    // The clicks of that game let the page start its sound.
    check(!messages.some((m) => m.includes('no sound')), 'the page plays sound after the first click');
    await page.goto(base + '/index.html?demo=shoot_enemy.demo&fast=1&frames=540');
    await result(page);
    await page.screenshot({ path: path.join(work, 'page.png') });
    console.log('page timings:\n  ' + timings.join('\n  '));
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
  console.log(`${passes} passed, ${failures} failed`);
  process.exitCode = failures === 0 ? 0 : 1;
}

main().catch((e) => {
  console.error(e);
  process.exitCode = 1;
});
