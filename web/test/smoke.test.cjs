// Smoke test of the browser build, run by web/test/run: the served page (DRAVEL2_URL) in headless
// Chromium (PLAYWRIGHT_CORE) on a desktop and on phones, read back pixel by pixel against the
// sheets (DRAVEL2_ASSETS); screenshots into DRAVEL2_SHOTS when set.
'use strict';
const { test, before, after } = require('node:test');
const assert = require('node:assert/strict'), fs = require('node:fs'), path = require('node:path');
const { chromium } = require(process.env.PLAYWRIGHT_CORE);

// Board geometry of the game's first configuration (preset 1: 12 x 20, 8 idle rows).
const Cell = 16, Strip = 24, Cols = 12, Rows = 20, IdleRows = 8, BoardW = Cols * Cell, BoardH = Strip + Rows * Cell;
// Where the sprites lie on the sheets (y of their top row).
const IconY = { cover: 0, qstn: 32, idle: 64, open: (n) => 240 - Cell * n }, FaceY = { paused: 0, play: 96 };
const DigitW = 13, DigitH = 23, DigitY = (d) => 253 - DigitH * d;
// Handles 1 to 8 are the clips: the game loads them first. The cell the tests open first is
// near the bottom, in a row that is active from the start.
const ClipCount = 8, Click = { x: 5, y: 15 }, WaitMs = 15000;
const range = (from, to, step = 1) => Array.from({ length: (to - from) / step }, (_, i) => from + i * step);
const same = (a, b) => a.length === b.length && a.every((v, i) => v === b[i]);
// The w x h block of a 24-bit bottom-up Windows bitmap from its row sy, as [r, g, b, ...].
const sheets = {};
function sprite(name, sy, w, h) {
  const d = (sheets[name] ||= fs.readFileSync(path.join(process.env.DRAVEL2_ASSETS, 'bmp', name)));
  const at = (x, y) => d.readUInt32LE(10) + (d.readInt32LE(22) - 1 - y) * ((d.readInt32LE(18) * 3 + 3) & ~3) + x * 3;
  return range(sy, sy + h).flatMap((y) => range(0, w).flatMap((x) => [2, 1, 0].map((i) => d[at(x, y) + i])));
}

// The canvas of a board gw game pixels wide: its scale n (device pixels a game pixel), its
// size and every game pixel, and how many device pixels differ from the rest of their block.
async function grab(page, gw = BoardW) {
  const f = await page.evaluate((gw) => {
    const c = document.getElementById('canvas'), n = c.width / gw, h = c.height / n;
    if (!n || !Number.isInteger(n) || !Number.isInteger(h)) return { n, w: c.width, h: c.height };
    const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data, data = [];
    let ragged = 0;
    for (let y = 0; y < c.height; y++)
      for (let x = 0; x < c.width; x++) {
        const at = (y * c.width + x) * 4, corner = ((y - y % n) * c.width + x - x % n) * 4;
        if ([0, 1, 2].some((i) => d[at + i] !== d[corner + i])) ragged++;
        if (x % n === 0 && y % n === 0) data.push(d[at], d[at + 1], d[at + 2]);
      }
    return { n, w: gw, h, data, ragged };
  }, gw);
  f.block = (x0, y0, w, h) => range(y0 * f.w + x0, (y0 + h) * f.w + x0, f.w)
    .flatMap((at) => f.data.slice(at * 3, (at + w) * 3));
  f.cellIs = (x, y, sy) => same(f.block(x * Cell, Strip + y * Cell, Cell, Cell), sprite('icon.bmp', sy, Cell, Cell));
  f.faceIs = (sy) => same(f.block(f.w / 2 - 12, 0, 24, 24), sprite('face.bmp', sy, 24, 24));
  f.notShowing = (sy, rows) =>
    rows.flatMap((y) => range(0, f.w / Cell).filter((x) => !f.cellIs(x, y, sy)).map((x) => `${x},${y}`));
  return f;
}
// Grabs the canvas until check(frame) is true; fails with what the last frame showed.
async function until(page, what, check, gw) {
  for (const deadline = Date.now() + WaitMs; ; await page.waitForTimeout(50)) {
    const f = await grab(page, gw), verdict = f.data ? check(f) : `${f.w} x ${f.h} pixels`;
    if (verdict === true) return f;
    if (Date.now() > deadline) assert.fail(`${what}: ${verdict}`);
  }
}

// What the board shows after a press, a mark or the pause.
const opened = (at) => (f) => range(0, 9).some((n) => f.cellIs(at.x, at.y, IconY.open(n))) ||
  // About one deal in two hundred, the first press completes its row, which goes at once for
  // a point: the rows above move down over the cell, and the score's units show 1 to 9.
  range(1, 10).some((d) => same(f.block(3 * DigitW, 0, DigitW, DigitH), sprite('numb.bmp', DigitY(d), DigitW, DigitH)))
  || 'not open';
const marked = (at) => (f) => f.cellIs(at.x, at.y, IconY.qstn) || 'no question mark';
const paused = (f) =>
  (f.faceIs(FaceY.paused) ? f.notShowing(IconY.idle, range(0, Rows)).join(' ') : 'no paused face') || true;
const coveredCell = (f) => range(IdleRows, Rows).reverse().flatMap((y) => range(0, Cols).map((x) => ({ x, y })))
  .find(({ x, y }) => f.cellIs(x, y, IconY.cover));
// The page point at the centre of the device pixel that shows the far (bottom right) corner
// of cell (cx, cy) of the first board: a press there must reach that cell.
async function farCorner(page, { x, y }) {
  const [r, d, n] = await page.evaluate((w) => { const c = document.getElementById('canvas');
    return [c.getBoundingClientRect().toJSON(), devicePixelRatio, c.width / w]; }, BoardW);
  return { x: r.x + ((x + 1) * Cell * n - 0.5) / d, y: r.y + ((Strip + (y + 1) * Cell) * n - 0.5) / d };
}
let browser;
before(async () => {
  browser = await chromium.launch({ executablePath: process.env.CHROMIUM || '/usr/bin/chromium', args: ['--no-sandbox',
    '--disable-gpu', '--disable-quic', '--disable-background-networking', '--disable-component-update', '--disable-sync'] });
});
after(async () => { await browser?.close(); });

// Opens the page in a context of its own. The fresh board shows at a whole number n of device
// pixels a game pixel, each an exact block, at backing / devicePixelRatio CSS pixels, as large
// as the room the page leaves it and no larger, and the page needs no scrolling.
async function openPage(name, options) {
  const page = await (await browser.newContext(options)).newPage();
  await page.goto(process.env.DRAVEL2_URL);
  const f = await until(page, 'the canvas never took the board\'s size', (f) => f.h === BoardH || `${f.h} rows`);
  assert.equal(f.ragged, 0, 'game pixels are not whole blocks of the backing store');
  const p = await page.evaluate(() => ({ d: devicePixelRatio, w: innerWidth, h: innerHeight,
    box: document.getElementById('canvas').getBoundingClientRect().toJSON(), room: Module.dravel2Room(),
    scroll: [document.scrollingElement.scrollWidth, document.scrollingElement.scrollHeight] }));
  assert.ok(Math.abs(p.box.width * p.d - BoardW * f.n) < 0.05 && Math.abs(p.box.height * p.d - BoardH * f.n) < 0.05,
            `CSS size ${p.box.width} x ${p.box.height} at scale ${f.n}`);
  assert.ok(p.scroll[0] <= p.w && p.scroll[1] <= p.h, `the page needs ${p.scroll}`);
  assert.ok((f.n + 1) * BoardW > p.room[0] * p.d || (f.n + 1) * BoardH > p.room[1] * p.d, `${f.n} is not the largest`);
  if (process.env.DRAVEL2_SHOTS) await page.screenshot({ path: path.join(process.env.DRAVEL2_SHOTS, `${name}.png`) });
  return { page, fit: { ...f, ...p } };
}

test('a desktop page plays by mouse and keys, and sounds its cues after the first click', async () => {
  const { page, fit } = await openPage('desktop', { viewport: { width: 1280, height: 800 } });
  assert.equal(await page.title(), 'Dravel2 by Quonse');
  assert.equal(fit.n, 2, 'not the largest scale that fits');
  assert.ok(await page.locator('#pad kbd').first().isVisible(), 'the buttons do not show their keys');
  await until(page, 'the fresh board is not covered', (f) => !f.notShowing(IconY.cover, range(IdleRows, Rows)).length || 'no');

  // SDL's audio device is open with the eight clips loaded before any click, and mixes them
  // into the page's audio after it.
  assert.deepEqual(await page.evaluate((handles) => [Module.UTF8ToString(Module._dravel2_audio_driver()),
    ...handles.map((h) => Module._dravel2_clip_loaded(h))], range(1, ClipCount + 2)),
  ['emscripten', ...Array(ClipCount).fill(1), 0]);
  await page.evaluate(() => { const node = Module.SDL2.audio.scriptProcessorNode, feed = node.onaudioprocess;
    node.onaudioprocess = (e) => { feed(e); window.loud ||= e.outputBuffer.getChannelData(0).some((v) => Math.abs(v) > 1e-3); };
  });
  await page.mouse.click(...Object.values(await farCorner(page, Click)));
  await page.waitForFunction(() => window.loud, null, { timeout: WaitMs });
  await until(page, 'the clicked cell did not open', opened(Click));

  const target = coveredCell(await grab(page)), corner = await farCorner(page, target);
  await page.mouse.click(corner.x, corner.y, { button: 'right' });
  await until(page, `the right click did not mark cell ${target.x},${target.y}`, marked(target));
  await page.keyboard.press('p');
  await until(page, 'P did not pause', paused);

  await page.keyboard.press('Escape');
  await page.waitForFunction(() => window.dravel2ExitStatus !== undefined, null, { timeout: WaitMs });
  assert.equal(await page.evaluate(() => window.dravel2ExitStatus), 0);
  assert.match(await page.locator('#status').innerText(), /Reload the page/);
});

// Phones held upright, by touch: a tap opens, a long press marks, a button of the row pauses.
for (const [d, width, height] of [[1.5, 360, 640], [2, 375, 667], [3, 390, 844]]) {
  test(`a phone at devicePixelRatio ${d}`, async () => {
    const { page, fit } = await openPage(`phone-${d}`, { viewport: { width, height }, deviceScaleFactor: d,
                                                         isMobile: true, hasTouch: true });
    assert.ok(!(await page.locator('#pad kbd').first().isVisible()), 'a phone shows keyboard keys');
    // At a whole ratio of 3 the board fills the width at a whole CSS scale.
    if (d === 3) assert.ok(fit.n % 3 === 0 && (fit.n + 1) * BoardW / 3 > fit.w, `scale ${fit.n}`);

    await page.touchscreen.tap(...Object.values(await farCorner(page, Click)));
    await until(page, 'the tapped cell did not open', opened(Click));
    await page.waitForFunction(() => Module.SDL2.audioContext.state === 'running', null, { timeout: WaitMs });
    const target = coveredCell(await grab(page)), touch = await page.context().newCDPSession(page);
    await touch.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [await farCorner(page, target)] });
    await page.waitForTimeout(800);
    await touch.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
    await until(page, `the long press did not mark cell ${target.x},${target.y}`, marked(target));
    await page.tap('#pad [data-key="p"]');
    await until(page, 'the pause button did not pause', paused);

    await page.context().close();
  });
}
