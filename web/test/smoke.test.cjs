// Smoke test of the browser build: the served page in headless Chromium, read back pixel by
// pixel against the sprite sheets. Run by web/test/run, which builds and serves the page.
// Environment: DRAVEL2_URL (the page), DRAVEL2_ASSETS (the sheets), PLAYWRIGHT_CORE (the
// driver's folder), DRAVEL2_SHOT (where to leave a screenshot taken after the first click).
'use strict';
const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { chromium } = require(process.env.PLAYWRIGHT_CORE);

const url = process.env.DRAVEL2_URL;
const assets = process.env.DRAVEL2_ASSETS;

// Board geometry of the game's first configuration (preset 1: 12 x 20, 8 idle rows).
const Cell = 16, Strip = 24, Cols = 12, Rows = 20, IdleRows = 8;
const WindowColour = [0xaf, 0xaf, 0xaf];
// Where the sprites lie on the sheets (y of their top row).
const IconY = { cover: 0, qstn: 32, idle: 64, open: (n) => 240 - Cell * n };
const FaceY = { paused: 0, play: 96 };
const DigitW = 13, DigitH = 23;
const NumbY = { digit: (d) => 253 - DigitH * d };
// Handles of the eight clips: the game loads them first, before any bitmap handle exists.
const ClipCount = 8;
// The cell the test opens: near the bottom, in a row that is active from the start.
const Click = { x: 5, y: 15 };
const WaitMs = 15000;

// A 24-bit bottom-up Windows bitmap as { w, h, rgb(x, y) }.
function readSheet(name) {
  const d = fs.readFileSync(path.join(assets, 'bmp', name));
  const offset = d.readUInt32LE(10), w = d.readInt32LE(18), h = d.readInt32LE(22);
  assert.equal(d.readUInt16LE(28), 24, `${name} is not 24 bits a pixel`);
  const stride = (w * 3 + 3) & ~3;
  const rgb = (x, y) => {
    const at = offset + (h - 1 - y) * stride + x * 3;
    return [d[at + 2], d[at + 1], d[at]];
  };
  return { w, h, rgb };
}
const sheets = {};

// The w x h block of a sheet from its row sy, flattened to [r, g, b, ...].
function sprite(sheet, sy, w, h) {
  const out = [];
  for (let y = 0; y < h; y++) for (let x = 0; x < w; x++) out.push(...sheets[sheet].rgb(x, sy + y));
  return out;
}

let browser, page, profile;
const pageErrors = [];

// The canvas as the player sees it: its size and every pixel, alpha dropped.
async function grab() {
  const f = await page.evaluate(() => {
    const c = document.getElementById('canvas');
    if (c.width === 0 || c.height === 0) return { w: c.width, h: c.height, data: [] };
    const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    return { w: c.width, h: c.height, data: Array.from(d) };
  });
  f.block = (x0, y0, w, h) => {
    const out = [];
    for (let y = y0; y < y0 + h; y++)
      for (let x = x0; x < x0 + w; x++) {
        const at = (y * f.w + x) * 4;
        out.push(f.data[at], f.data[at + 1], f.data[at + 2]);
      }
    return out;
  };
  f.cellIs = (cx, cy, sy) =>
    same(f.block(cx * Cell, Strip + cy * Cell, Cell, Cell), sprite('icon.bmp', sy, Cell, Cell));
  return f;
}

function same(a, b) {
  return a.length === b.length && a.every((v, i) => v === b[i]);
}

// Grabs the canvas until test(frame) holds; fails with what the last frame showed.
async function until(what, test) {
  const deadline = Date.now() + WaitMs;
  let last;
  for (;;) {
    last = await grab();
    const verdict = test(last);
    if (verdict === true) return last;
    if (Date.now() > deadline) assert.fail(`${what}: ${verdict}`);
    await page.waitForTimeout(50);
  }
}

// Cells of the board that do not show the tile at sheet row sy, as "x,y" strings.
function cellsNotShowing(f, sy, rows) {
  const wrong = [];
  for (const y of rows) for (let x = 0; x < f.w / Cell; x++) if (!f.cellIs(x, y, sy)) wrong.push(`${x},${y}`);
  return wrong;
}

function range(from, to) {
  return Array.from({ length: to - from }, (_, i) => from + i);
}

async function pressKey(key) {
  await page.keyboard.press(key);
}

before(async () => {
  for (const name of ['icon.bmp', 'face.bmp', 'numb.bmp']) sheets[name] = readSheet(name);
  profile = fs.mkdtempSync(path.join(os.tmpdir(), 'dravel2-chromium-'));
  browser = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    viewport: { width: 800, height: 600 },
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  page = browser.pages()[0] || (await browser.newPage());
  page.on('pageerror', (e) => pageErrors.push(e.message));
  page.on('console', (m) => { if (m.type() === 'error') pageErrors.push(m.text()); });
  page.on('response', (r) => { if (r.status() >= 400) pageErrors.push(`${r.status()} ${r.url()}`); });
  await page.goto(url);
});

after(async () => {
  if (browser) await browser.close();
  if (profile) fs.rmSync(profile, { recursive: true, force: true });
});

test('the page is titled and the canvas has the board\'s size, unscaled and centred', async () => {
  await until('the canvas never took the board\'s size', (f) =>
    (f.w === Cols * Cell && f.h === Strip + Rows * Cell) || `${f.w} x ${f.h}`);
  assert.equal(await page.title(), 'Dravel2 by Quonse');
  const box = await page.locator('#canvas').boundingBox();
  assert.equal(box.width, Cols * Cell, 'the canvas is scaled across');
  assert.equal(box.height, Strip + Rows * Cell, 'the canvas is scaled down');
  assert.ok(Math.abs(box.x + box.width / 2 - 400) <= 1, `the canvas is not centred: left ${box.x}`);
});

test('the fresh board: idle rows blank, active rows covered, the play face', async () => {
  await until('the fresh board is not as dealt', (f) => {
    if (!same(f.block(Cols * 8 - 12, 0, 24, 24), sprite('face.bmp', FaceY.play, 24, 24)))
      return 'no play face at the top centre';
    const covered = cellsNotShowing(f, IconY.cover, range(IdleRows, Rows));
    if (covered.length) return `cells not covered: ${covered.join(' ')}`;
    // The row clock previews the next row above the active ones and, about ten seconds in,
    // activates it; the rows two and more above stay blank for twenty seconds.
    const blank = f.block(0, Strip, f.w, (IdleRows - 2) * Cell);
    for (let i = 0; i < blank.length; i++)
      if (blank[i] !== WindowColour[i % 3]) return 'the idle rows are not the window colour';
    return true;
  });
});

test('sound waits for the first click, then the clips are mixed into the page\'s audio', async () => {
  // SDL's audio device is open with the eight clips loaded, before any click.
  const before = await page.evaluate((count) => ({
    driver: Module.UTF8ToString(Module._dravel2_audio_driver()),
    loaded: Array.from({ length: count + 1 }, (_, i) => Module._dravel2_clip_loaded(i + 1)),
    state: Module.SDL2.audioContext.state,
  }), ClipCount);
  assert.equal(before.driver, 'emscripten');
  assert.deepEqual(before.loaded, [...Array(ClipCount).fill(1), 0]);
  assert.notEqual(before.state, 'closed');

  // Listen on the node that carries the mixer's output to the speakers.
  await page.evaluate(() => {
    const node = Module.SDL2.audio.scriptProcessorNode;
    const feed = node.onaudioprocess;
    window.dravel2Audio = { blocks: 0, loud: 0 };
    node.onaudioprocess = (e) => {
      feed(e);
      window.dravel2Audio.blocks++;
      const samples = e.outputBuffer.getChannelData(0);
      if (samples.some((v) => Math.abs(v) > 1e-3)) window.dravel2Audio.loud++;
    };
  });

  const box = await page.locator('#canvas').boundingBox();
  await page.mouse.click(box.x + Click.x * Cell + 8, box.y + Strip + Click.y * Cell + 8);
  await page.waitForFunction(() => Module.SDL2.audioContext.state === 'running', null,
                             { timeout: WaitMs });
  await page.waitForFunction(() => window.dravel2Audio.loud > 0, null, { timeout: WaitMs });
});

test('the click opened the cell under it', async () => {
  const opened = range(0, 9).map(IconY.open);
  const points = range(1, 10).map((d) => sprite('numb.bmp', NumbY.digit(d), DigitW, DigitH));
  await until('the clicked cell shows no open tile', (f) => {
    if (opened.some((sy) => f.cellIs(Click.x, Click.y, sy))) return true;
    // About one deal in two hundred, the first click completes its row, which goes at once
    // for a point: the rows above move down over the cell, and the score's units show 1 to 9.
    const units = f.block(3 * DigitW, 0, DigitW, DigitH);
    if (points.some((p) => same(units, p))) return true;
    return 'no open tile there, and no row was removed';
  });
  if (process.env.DRAVEL2_SHOT) await page.screenshot({ path: process.env.DRAVEL2_SHOT });
});

test('a right click puts a question mark on a covered cell', async () => {
  const f = await grab();
  let target;
  for (let y = Rows - 1; y >= IdleRows && !target; y--)
    for (let x = 0; x < Cols && !target; x++) if (f.cellIs(x, y, IconY.cover)) target = { x, y };
  assert.ok(target, 'no covered cell left to mark');
  const box = await page.locator('#canvas').boundingBox();
  await page.mouse.click(box.x + target.x * Cell + 8, box.y + Strip + target.y * Cell + 8,
                         { button: 'right' });
  await until(`cell ${target.x},${target.y} shows no question mark`, (f) =>
    f.cellIs(target.x, target.y, IconY.qstn) || 'not marked');
});

test('P pauses: every cell idle, the paused face', async () => {
  await pressKey('p');
  await until('the board did not pause', (f) => {
    if (!same(f.block(Cols * 8 - 12, 0, 24, 24), sprite('face.bmp', FaceY.paused, 24, 24)))
      return 'no paused face';
    const wrong = cellsNotShowing(f, IconY.idle, range(0, Rows));
    return wrong.length === 0 || `cells not idle: ${wrong.join(' ')}`;
  });
});

test('game keys reach the game and do not scroll the page; the canvas follows the board', async () => {
  // A page shorter than the board, so that every scrolling key could scroll it.
  await page.setViewportSize({ width: 800, height: 240 });
  await page.evaluate(() => window.scrollTo(0, 0));
  assert.ok(await page.evaluate(() => document.scrollingElement.scrollHeight > window.innerHeight),
            'the page cannot scroll at all');
  for (const key of ['Space', 'PageDown', 'ArrowDown', 'ArrowRight']) await pressKey(key);
  // Down and Right: a board one row taller and one column wider, dealt afresh.
  await until('the canvas did not follow the board', (f) => {
    if (f.w !== (Cols + 1) * Cell || f.h !== Strip + (Rows + 1) * Cell) return `${f.w} x ${f.h}`;
    const bottom = cellsNotShowing(f, IconY.cover, [Rows]);
    return bottom.length === 0 || `new bottom row not covered: ${bottom.join(' ')}`;
  });
  assert.equal(await page.evaluate(() => window.scrollY), 0, 'the page scrolled');
});

test('Esc ends the game as closing its window does', async () => {
  await pressKey('Escape');
  await page.waitForFunction(() => window.dravel2ExitStatus !== undefined, null,
                             { timeout: WaitMs });
  assert.equal(await page.evaluate(() => window.dravel2ExitStatus), 0);
  assert.match(await page.locator('#status').innerText(), /Reload the page/);
});

test('the page logged no error', () => {
  assert.deepEqual(pageErrors, []);
});
