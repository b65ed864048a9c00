// Times the live page of `scenario serve` in headless Chromium (the system browser, through
// the playwright-core of tests/live/browser; run `npm ci` there first).
//
//   node bench/live_page_bench.mjs SCENARIO_PROGRAM LINE TRAIN [-n SAVES] [--zoom N] [--frames]
//
// Copies LINE and TRAIN into a temporary folder, serves them, opens the page, then saves
// TRAIN SAVES times (default 21; written beside it and renamed over it, as editors save),
// each time switching its first 130 km/h speed limit between 130 and 120. It prints, from
// the save on disk (the rename returned) to the frame that shows the new result, the
// median, the 90th percentile, the minimum and the maximum, the medians of the page's
// marks on the way, and the bytes the page took for each save (the result's changes, in
// the event or fetched, and any /detail). With --zoom N it then shows N windows of 1 km spread along the route and
// prints the times from the zoom to the frame that shows the window in full detail.
// With --frames it then pans and zooms the drawing with the mouse and prints the frame
// intervals (requestAnimationFrame) while the view moves, and after it rests.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { createRequire } from 'node:module';

const here = path.dirname(new URL(import.meta.url).pathname);
const require = createRequire(path.join(here, '../tests/live/browser/package.json'));
const { chromium } = require('playwright-core');

const args = process.argv.slice(2);
const flag = (name) => {
  const i = args.indexOf(name);
  return i < 0 ? false : args.splice(i, 1) && true;
};
const option = (name, fallback) => {
  const i = args.indexOf(name);
  return i < 0 ? fallback : Number(args.splice(i, 2)[1]);
};
const frames = flag('--frames');
const saves = option('-n', 21);
const zooms = option('--zoom', 0);
const [programArg, linePath, trainPath] = args;
const program = programArg && path.resolve(programArg);
if (!program || !linePath || !trainPath) {
  console.error('usage: node bench/live_page_bench.mjs SCENARIO_PROGRAM LINE TRAIN [-n SAVES] [--frames]');
  process.exit(2);
}

const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'live-bench-'));
const line = path.basename(linePath);
const train = path.basename(trainPath);
fs.copyFileSync(linePath, path.join(folder, line));
fs.copyFileSync(trainPath, path.join(folder, train));
const text = fs.readFileSync(path.join(folder, train), 'latin1');
const speedLine = /^(velocita,\s*\d+,\s*)130\b/m;
if (!speedLine.test(text)) throw new Error('TRAIN has no 130 km/h speed limit to switch');
const versions = [text.replace(speedLine, '$1120'), text];

const server = spawn(program, ['serve', line, train], { cwd: folder, stdio: ['ignore', 'pipe', 'inherit'] });
const url = await new Promise((resolve, reject) => {
  let out = '';
  server.stdout.on('data', (chunk) => {
    out += chunk;
    if (out.includes('\n')) resolve(out.split('\n')[0].trim());
  });
  server.on('exit', () => reject(new Error('scenario serve ended')));
});

const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-dev-shm-usage'],
});
const median = (xs) => {
  const s = [...xs].sort((a, b) => a - b);
  return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
};
// The nearest-rank 90th percentile.
const p90 = (xs) => [...xs].sort((a, b) => a - b)[Math.max(0, Math.ceil(0.9 * xs.length) - 1)];
const ms = (x) => `${x.toFixed(1)} ms`;
try {
  const page = await browser.newPage({ viewport: { width: 1400, height: 900 } });
  await page.goto(url);
  await page.waitForSelector('#stage svg');
  const sizes = await page.evaluate(async () => [(await (await fetch('/result')).text()).length,
    (await (await fetch('/')).text()).length]);
  console.log(`${line} + ${train}: /result is ${sizes[0].toLocaleString('en')} bytes, ` +
    `the page with it ${sizes[1].toLocaleString('en')} bytes`);

  const times = [];
  const compiles = [];
  const bytes = [];
  const phases = { announced: [], received: [], parsed: [], applied: [], shown: [] };
  for (let i = 0; i < saves; ++i) {
    const before = Number(await page.getAttribute('body', 'data-shown-generation'));
    await page.waitForTimeout(150);  // the previous save is settled everywhere
    await page.evaluate(() => performance.clearResourceTimings());
    const t0 = Date.now();
    fs.writeFileSync(path.join(folder, `${train}.new`), versions[i % 2], 'latin1');
    fs.renameSync(path.join(folder, `${train}.new`), path.join(folder, train));
    await page.waitForFunction(`Number(document.body.dataset.shownGeneration) > ${before}`, null,
      { timeout: 10000, polling: 5 });
    const shownAt = Number(await page.getAttribute('body', 'data-shown-at'));
    times.push(shownAt - t0);
    // The page's marks of this result, as times after the save.
    const marks = await page.evaluate(() => {
      const last = {};
      for (const m of performance.getEntriesByType('mark')) last[m.name] = performance.timeOrigin + m.startTime;
      performance.clearMarks();
      return last;
    });
    for (const k of Object.keys(phases)) phases[k].push(marks[`result-${k}`] - t0);
    // The result's text the page took (in the event, or fetched), and any detail fetched.
    // (A page that does not say what it took: the /result bodies it fetched.)
    bytes.push(await page.evaluate(() => {
      const fetched = (re) => performance.getEntriesByType('resource').filter((e) => re.test(e.name))
        .reduce((n, e) => n + e.decodedBodySize, 0);
      return (Number(document.body.dataset.resultBytes) || fetched(/\/result/)) + fetched(/\/detail/);
    }));
    compiles.push(await page.evaluate(async () => (await (await fetch('/result')).json()).compile_ms));
  }
  console.log(`save -> new drawing shown, ${saves} saves: median ${ms(median(times))}, ` +
    `90th percentile ${ms(p90(times))}, min ${ms(Math.min(...times))}, max ${ms(Math.max(...times))} ` +
    `(server compile_ms median ${ms(median(compiles))})`);
  console.log('  medians after the save: ' + Object.entries(phases)
    .map(([k, v]) => `${k} ${ms(median(v))}`).join(', '));
  console.log(`  bytes fetched per save: median ${median(bytes).toLocaleString('en')}, ` +
    `max ${Math.max(...bytes).toLocaleString('en')}`);

  if (zooms > 0) {
    // Windows of 1 km spread along the route, each from the fitted view.
    const last = await page.evaluate(() => {
      const r = JSON.parse(document.getElementById('result').textContent);
      return r.drawing && r.drawing.plan ? r.drawing.plan.last : 0;
    });
    const zoomTimes = [];
    for (let i = 0; i < zooms && last > 1000; ++i) {
      const from = Math.floor(((i + 0.5) / zooms) * (last - 1000));
      await page.evaluate(() => window.livePage.parts.drawing.fit());
      await page.waitForTimeout(100);
      zoomTimes.push(await page.evaluate((from) => new Promise((done) => {
        const d = window.livePage.parts.drawing;
        const t0 = performance.now();
        d.showWindow(from, from + 1000);
        const wait = () => {
          if (d.pendingDetail() > 0) { setTimeout(wait, 1); return; }
          requestAnimationFrame(() => setTimeout(() => done(performance.now() - t0), 0));
        };
        wait();
      }), from));
    }
    if (zoomTimes.length) {
      console.log(`zoom into a 1 km window -> shown in full detail, ${zoomTimes.length} windows: ` +
        `median ${ms(median(zoomTimes))}, 90th percentile ${ms(p90(zoomTimes))}, max ${ms(Math.max(...zoomTimes))}`);
    }
  }

  if (frames) {
    const box = await page.locator('#view').boundingBox();
    const cx = box.x + box.width / 2;
    const cy = box.y + box.height / 2;
    // Each phase is timed twice: by requestAnimationFrame in the page (which also keeps a
    // frame drawn at every vsync), and by Chromium's trace, the frames its compositor drew.
    const record = async () => {
      await browser.startTracing(page, { categories: ['disabled-by-default-devtools.timeline.frame'] });
      await page.evaluate(() => {
      window.frameTimes = [];
      const tick = (t) => {
        window.frameTimes.push(t);
        if (window.frameTimes.length < 100000) window.frameRequest = requestAnimationFrame(tick);
      };
      window.frameRequest = requestAnimationFrame(tick);
      });
    };
    let drawn = [];
    const collect = async () => {
      const times = await page.evaluate(() => {
        cancelAnimationFrame(window.frameRequest);
        return window.frameTimes;
      });
      const trace = JSON.parse((await browser.stopTracing()).toString());
      drawn = trace.traceEvents.filter((e) => e.name === 'DrawFrame').map((e) => e.ts / 1000);
      return times;
    };
    const report = (name, t) => {
      const gaps = t.slice(1).map((x, i) => x - t[i]);
      const span = t[t.length - 1] - t[0];
      const sorted = [...gaps].sort((a, b) => a - b);
      const p95 = sorted[Math.floor(0.95 * (sorted.length - 1))];
      const long = gaps.filter((g) => g > 25).length;
      console.log(`${name}: ${gaps.length} frames in ${ms(span)}, ${(1000 * gaps.length / span).toFixed(1)} fps, ` +
        `interval median ${ms(median(gaps))}, p95 ${ms(p95)}, max ${ms(Math.max(...gaps))}, over 25 ms: ${long}`);
      if (drawn.length > 1) {
        const draws = drawn.slice(1).map((x, i) => x - drawn[i]);
        const drawSpan = drawn[drawn.length - 1] - drawn[0];
        console.log(`  trace: ${draws.length} frames drawn in ${ms(drawSpan)}, ` +
          `${(1000 * draws.length / drawSpan).toFixed(1)} fps, max interval ${ms(Math.max(...draws))}`);
      }
    };
    // Zoom in by the wheel at the centre, 60 notches, one every 16 ms; then drag across.
    await page.mouse.move(cx, cy);
    await record();
    for (let i = 0; i < 60; ++i) {
      await page.mouse.wheel(0, -40);
      await page.waitForTimeout(16);
    }
    report('zoom (wheel) on the whole route', await collect());
    await page.waitForTimeout(400);
    await record();
    await page.mouse.down();
    await page.mouse.move(cx - 500, cy - 300, { steps: 120 });
    await page.mouse.move(cx + 300, cy + 200, { steps: 120 });
    await page.mouse.up();
    report('pan (drag), zoomed in', await collect());
    await record();
    await page.waitForTimeout(500);
    report('the 500 ms after the drag (redraw at rest)', await collect());
    await record();
    for (let i = 0; i < 60; ++i) {
      await page.mouse.wheel(0, 40);
      await page.waitForTimeout(16);
    }
    report('zoom out (wheel)', await collect());
    // The same moves as events dispatched in the page at every frame, 3 s each: the view
    // changes at every vsync, so the trace's frames drawn say whether the page keeps up.
    for (const [name, kind] of [['zoom in and out, an event every frame', 'wheel'],
      ['drag, an event every frame', 'drag']]) {
      await record();
      await page.evaluate(([kind, x, y]) => new Promise((done) => {
        const view = document.getElementById('view');
        const target = document.getElementById('stage');
        let i = 0;
        const step = () => {
          const phase = Math.floor(i / 45) % 2 ? 1 : -1;
          if (kind === 'wheel') {
            view.dispatchEvent(new WheelEvent('wheel', { deltaY: 30 * phase, clientX: x, clientY: y,
              bubbles: true, cancelable: true }));
          } else {
            const at = { clientX: x + 200 * Math.sin(i / 15), clientY: y + 120 * Math.cos(i / 20),
              pointerId: 1, button: 0, bubbles: true };
            if (i === 0) view.dispatchEvent(new PointerEvent('pointerdown', at));
            target.dispatchEvent(new PointerEvent('pointermove', at));
          }
          if (++i < 180) requestAnimationFrame(step);
          else {
            if (kind === 'drag') view.dispatchEvent(new PointerEvent('pointerup', { pointerId: 1, bubbles: true }));
            done();
          }
        };
        requestAnimationFrame(step);
      }), [kind, cx, cy]);
      report(name, await collect());
      await page.waitForTimeout(400);
    }
  }
} finally {
  await browser.close();
  server.kill('SIGTERM');
  fs.rmSync(folder, { recursive: true, force: true });
}
