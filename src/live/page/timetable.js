// The live page's time-distance graph of the timetable (the result's "timetable", see
// docs/live.md): the times the timetable gives at its timed stations, joined by a dashed
// line, and the fastest run as a line; pointing at a station's point or along the run
// says what it is. One of the page's parts (page.js): shown with each whole result, and
// again when a result's changes carry a new timetable.
'use strict';

window.scenarioTimetable = (() => {
  const SVG = 'http://www.w3.org/2000/svg';
  const panel = document.getElementById('timetable-panel');
  const box = document.getElementById('timetable');
  const summary = document.getElementById('timetable-summary');
  const tip = document.getElementById('timetable-tip');
  const HEIGHT = 230;
  const PAD = { left: 54, right: 12, top: 10, bottom: 26 };

  let shown = null;  // { table, timed, x, y, width } of the graph on screen

  const svgNode = (tag, attrs, parent) => {
    const n = document.createElementNS(SVG, tag);
    for (const [k, v] of Object.entries(attrs || {})) n.setAttribute(k, String(v));
    if (parent) parent.append(n);
    return n;
  };
  const two = (n) => String(n).padStart(2, '0');
  // "19:09:00" for seconds of the day; "19:09" with short.
  const clock = (s, short) => {
    const t = Math.round(s);
    const sign = t < 0 ? '-' : '';
    const a = Math.abs(t);
    const hm = `${sign}${two(Math.floor(a / 3600))}:${two(Math.floor(a / 60) % 60)}`;
    return short ? hm : `${hm}:${two(a % 60)}`;
  };
  // "27:51" or "1:02:05" for a running time in seconds.
  const duration = (s) => {
    const sign = s < 0 ? '-' : '';
    const a = Math.abs(s);
    const h = Math.floor(a / 3600);
    const m = Math.floor(a / 60) % 60;
    return h ? `${sign}${h}:${two(m)}:${two(a % 60)}` : `${sign}${Math.floor(a / 60)}:${two(a % 60)}`;
  };
  const km = (m) => `${(m / 1000).toLocaleString('en', { maximumFractionDigits: 3 })} km`;

  // A step for about `count` ticks over `span`, from the steps given.
  const step = (span, count, steps) => steps.find((s) => span / s <= count) || steps[steps.length - 1];

  // The timed stations with their place on the run's clock: a time earlier than the one
  // before is the next day's when the server said so (its "available" chains them).
  function timedStations(table) {
    const out = [];
    let timeline = null;
    table.stations.forEach((s, index) => {
      if (s.time === null) return;
      timeline = timeline === null || s.available === null ? s.time : timeline + s.available;
      out.push({ s, index, timeline });
    });
    return out;
  }

  // How a timed station fares: "late" (no train can keep its time), "tight" (not by the
  // estimate), "ok", or "" for the first.
  function verdict(s) {
    if (s.available === null) return '';
    if (s.blocked !== null || (s.least !== null && s.available < s.least)) return 'late';
    if (s.estimate !== null && s.available < s.estimate) return 'tight';
    return 'ok';
  }

  // A line's points as the graph draws them: of the points within one column of half a
  // pixel only the first, the highest, the lowest and the last (a run of
  // a long route has thousands of points for a few hundred pixels).
  function onScreen(points, x, y) {
    const out = [];
    let column = null;
    let kept = [];
    const flush = () => {
      const seen = new Set();
      for (const p of kept) if (!seen.has(p)) { seen.add(p); out.push(p); }
    };
    for (const [m, t] of points) {
      const p = [x(m), y(t)];
      const c = Math.round(p[0] * 2);
      if (c !== column) {
        flush();
        column = c;
        kept = [p, p, p, p];
        continue;
      }
      if (p[1] < kept[1][1]) kept[1] = p;
      if (p[1] > kept[2][1]) kept[2] = p;
      kept[3] = p;
    }
    flush();
    return out.map(([a, b]) => `${a.toFixed(1)},${b.toFixed(1)}`).join(' ');
  }

  function show(table) {
    hideTip();
    const timed = table && table.speeds ? timedStations(table) : [];
    panel.hidden = timed.length < 2;
    box.replaceChildren();
    shown = null;
    if (panel.hidden) return;

    const late = timed.filter((t) => verdict(t.s) === 'late').length;
    const tight = timed.filter((t) => verdict(t.s) === 'tight').length;
    summary.textContent = late ? `(${late} not kept at the speeds allowed)`
      : tight ? `(${tight} tighter than the estimate)` : '(kept)';
    summary.className = late ? 'late' : tight ? 'tight' : 'ok';

    const width = Math.max(240, box.clientWidth || 420);
    const positions = table.stations.map((s) => s.position).concat(table.run.map((p) => p[0]));
    const times = timed.map((t) => t.timeline).concat(table.run.map((p) => p[1]));
    const least = (list) => list.reduce((a, b) => Math.min(a, b), Infinity);
    const most = (list) => list.reduce((a, b) => Math.max(a, b), -Infinity);
    const x0 = least(positions);
    const x1 = Math.max(most(positions), x0 + 1);
    const t0 = least(times);
    const t1 = Math.max(most(times), t0 + 60);
    const x = (m) => PAD.left + ((m - x0) / (x1 - x0)) * (width - PAD.left - PAD.right);
    const y = (t) => HEIGHT - PAD.bottom - ((t - t0) / (t1 - t0)) * (HEIGHT - PAD.top - PAD.bottom);

    const svg = svgNode('svg', { width, height: HEIGHT, viewBox: `0 0 ${width} ${HEIGHT}`, class: 'timetable-graph' });
    const axes = svgNode('g', { class: 'tt-axes' }, svg);
    const xStep = step(x1 - x0, 6, [500, 1000, 2000, 5000, 10000, 20000, 50000, 100000, 200000]);
    for (let m = Math.ceil(x0 / xStep) * xStep; m <= x1; m += xStep) {
      svgNode('line', { x1: x(m), x2: x(m), y1: PAD.top, y2: HEIGHT - PAD.bottom, class: 'tt-grid' }, axes);
      svgNode('text', { x: x(m), y: HEIGHT - 8, 'text-anchor': 'middle' }, axes).textContent = `${m / 1000}`;
    }
    svgNode('text', { x: PAD.left - 10, y: HEIGHT - 8, 'text-anchor': 'end', class: 'tt-unit' }, axes).textContent = 'km';
    const tStep = step(t1 - t0, 5, [60, 120, 300, 600, 900, 1800, 3600, 7200, 14400, 28800]);
    for (let t = Math.ceil(t0 / tStep) * tStep; t <= t1; t += tStep) {
      svgNode('line', { x1: PAD.left, x2: width - PAD.right, y1: y(t), y2: y(t), class: 'tt-grid' }, axes);
      svgNode('text', { x: PAD.left - 6, y: y(t) + 4, 'text-anchor': 'end' }, axes).textContent = clock(t, true);
    }
    // Every station, timed or not, as a faint mark on the distance axis.
    for (const s of table.stations) {
      svgNode('line', { x1: x(s.position), x2: x(s.position), y1: HEIGHT - PAD.bottom, y2: HEIGHT - PAD.bottom + 4, class: 'tt-station' }, axes);
    }
    const line = (points, cls) => svgNode('polyline', { points: onScreen(points, x, y), class: cls }, svg);
    line(timed.map((t) => [t.s.position, t.timeline]), 'tt-timetable');
    if (table.run.length) line(table.run, 'tt-run');
    const cursor = svgNode('g', { class: 'tt-cursor', visibility: 'hidden' }, svg);
    svgNode('line', { y1: PAD.top, y2: HEIGHT - PAD.bottom }, cursor);
    svgNode('circle', { r: 3.5 }, cursor);
    for (const t of timed) {
      svgNode('circle', {
        cx: x(t.s.position), cy: y(t.timeline), r: 4.5,
        class: `tt-point ${verdict(t.s)}`, 'data-station': t.index,
      }, svg);
    }
    box.append(svg);
    shown = { table, timed, x, y, x0, x1 };
  }

  // ---- hover ------------------------------------------------------------------------

  function row(table, k, v) {
    const tr = document.createElement('tr');
    for (const text of [k, v]) {
      const td = document.createElement('td');
      td.textContent = text;
      tr.append(td);
    }
    table.append(tr);
  }

  function stationTip(index) {
    const { table } = shown;
    const s = table.stations[index];
    const head = document.createElement('div');
    head.className = 'name';
    head.textContent = s.name;
    const rows = document.createElement('table');
    row(rows, 'position', `${s.position} m`);
    row(rows, 'time', clock(s.time));
    if (s.previous !== null) {
      const from = table.stations[s.previous];
      row(rows, 'from', `${from.name} (${clock(from.time)})`);
      row(rows, 'time given', duration(s.available));
      row(rows, 'least', s.blocked !== null ? `blocked at ${s.blocked} m` : duration(s.least));
      if (s.estimate !== null) row(rows, 'estimate', duration(s.estimate));
      if (s.margin !== null) row(rows, 'margin', duration(s.margin));
    }
    if (s.arrival !== null) {
      const leaves = s.departure !== null && Math.round(s.departure) !== Math.round(s.arrival)
        ? ` – ${clock(s.departure)}` : '';
      row(rows, 'fastest run', clock(s.arrival) + leaves);
    }
    return [head, rows];
  }

  // The fastest run's time at a position: on its line, the later of two points at one
  // position (a wait) counting from there.
  function runAt(m) {
    const run = shown.table.run;
    for (let i = 1; i < run.length; ++i) {
      const [a, ta] = run[i - 1];
      const [b, tb] = run[i];
      if (m >= a && m <= b && b > a) return ta + ((m - a) / (b - a)) * (tb - ta);
    }
    return null;
  }

  function runTip(m, t) {
    const head = document.createElement('div');
    head.className = 'name';
    head.textContent = 'fastest run';
    const rows = document.createElement('table');
    row(rows, 'position', km(m));
    row(rows, 'time', clock(t));
    return [head, rows];
  }

  function hideTip() {
    tip.hidden = true;
    const cursor = box.querySelector('.tt-cursor');
    if (cursor) cursor.setAttribute('visibility', 'hidden');
    for (const n of box.querySelectorAll('.tt-point.hover')) n.classList.remove('hover');
  }

  function place(e) {
    const r = panel.getBoundingClientRect();
    const left = Math.min(e.clientX - r.left + 12, r.width - tip.offsetWidth - 4);
    tip.style.left = `${Math.max(0, left)}px`;
    tip.style.top = `${e.clientY - r.top + 14}px`;
  }

  box.addEventListener('pointermove', (e) => {
    if (!shown) return;
    const svg = box.querySelector('svg');
    const r = svg.getBoundingClientRect();
    const px = e.clientX - r.left;
    const py = e.clientY - r.top;
    hideTip();
    const point = e.target.closest && e.target.closest('.tt-point');
    if (point) {
      point.classList.add('hover');
      tip.replaceChildren(...stationTip(Number(point.dataset.station)));
    } else {
      const m = shown.x0 + ((px - PAD.left) / (r.width - PAD.left - PAD.right)) * (shown.x1 - shown.x0);
      const t = m >= shown.x0 && m <= shown.x1 ? runAt(m) : null;
      if (t === null || Math.abs(shown.y(t) - py) > 40) return;
      const cursor = svg.querySelector('.tt-cursor');
      cursor.setAttribute('visibility', 'visible');
      cursor.querySelector('line').setAttribute('x1', shown.x(m));
      cursor.querySelector('line').setAttribute('x2', shown.x(m));
      cursor.querySelector('circle').setAttribute('cx', shown.x(m));
      cursor.querySelector('circle').setAttribute('cy', shown.y(t));
      tip.replaceChildren(...runTip(m, t));
    }
    tip.hidden = false;
    place(e);
  });
  box.addEventListener('pointerleave', hideTip);

  return { show };
})();

window.liveParts = window.liveParts || [];
// A save's new timetable is drawn once the drawing's frame is on screen: the drawing
// first, the graph a frame later (the newest only, when saves come faster).
(() => {
  let waiting = null;
  window.liveParts.push({
    name: 'timetable',
    show(result) {
      waiting = null;
      window.scenarioTimetable.show(result.timetable || null);
    },
    change(changes, next) {
      if (!('timetable' in changes)) return true;
      const first = waiting === null;
      waiting = { table: next.timetable || null };
      if (first) {
        requestAnimationFrame(() => requestAnimationFrame(() => {
          if (waiting) window.scenarioTimetable.show(waiting.table);
          waiting = null;
        }));
      }
      return true;
    },
  });
})();
