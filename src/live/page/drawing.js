// The drawing of the live page: the plan and the profiles of the scenario, drawn from the
// result's "drawing" (docs/live.md) at the level of detail the view needs. The frame
// (titles, panels, axes, legend) is the server's SVG; the marks are drawn here, in the
// picture's own units, and patched when a save changes some of them; the labels are
// placed at every rest of the view so that none overlaps another; the detail of the
// track and the records of the elements come from /detail as the view asks for them.
//
// One part of the page (see page.js): it registers itself and is driven from there.
'use strict';

(() => {
  const SVG = 'http://www.w3.org/2000/svg';
  const KINDS = ['station', 'signal', 'board', 'speed_board', 'slowdown', 'tunnel', 'speed',
    'gradient', 'adhesion', 'curve', 'code_point'];
  const STEPS = ['speed', 'gradient', 'adhesion'];
  const POINTS = new Set(['station', 'signal', 'board', 'speed_board', 'code_point']);
  const STRETCHES = new Set(['slowdown', 'tunnel', 'curve']);
  const COLOUR = {
    station: '#1f4fa8', signal: '#1b8a3a', board: '#8a3fb0', speed_board: '#d6336c',
    code_point: '#0f8f8f', slowdown: '#f08c00', tunnel: '#9c6b3c', track: '#333333',
    run_off: '#aaaaaa', error: '#d00000', ink: '#222222', muted: '#666666',
    speed: '#1f4fa8', gradient: '#a0522d', adhesion: '#1b8a3a',
  };
  const FONT = '"DejaVu Sans", Arial, Helvetica, sans-serif';

  const $ = (id) => document.getElementById(id);
  const view = $('view');
  const stage = $('stage');
  const tip = $('tip');
  let page = null;  // what page.js lends its parts (make, elementTip helpers, ...)

  const el = (tag, attrs, parent) => {
    const node = document.createElementNS(SVG, tag);
    if (attrs) for (const k in attrs) node.setAttribute(k, attrs[k]);
    if (parent) parent.append(node);
    return node;
  };
  const clamp = (v, lo, hi) => Math.min(hi, Math.max(lo, v));
  const r3 = (v) => Math.round(v * 1000) / 1000;

  // ---- the model: the drawing as the server sent it, decoded ------------------------

  let drawing = null;   // generation, stale, frame, plan, kilometres, profiles, errors, marked
  const kinds = {};     // kind -> {position, end, value, x, y, name}: one array each
  const first = {};     // kind -> the id of its first element
  let overview = null;  // the plan's track at the fitted view: {m, x, y}

  function decodeKind(list, at, remove, part) {
    const n = part.position.length;
    const base = at > 0 ? list.position[at - 1] : 0;
    const position = new Array(n);
    let p = base;
    for (let i = 0; i < n; ++i) position[i] = p += part.position[i];
    // A run is put in place by copying (a long one would not fit a call's arguments).
    const put = (name, run) => {
      const was = list[name];
      list[name] = was.slice(0, at).concat(run, was.slice(at + remove));
    };
    const column = (name, make) => {
      const out = new Array(n);
      for (let i = 0; i < n; ++i) out[i] = make(i);
      put(name, out);
    };
    put('position', position);
    column('end', (i) => (part.length ? position[i] + part.length[i] : position[i]));
    column('value', (i) => (part.value ? part.value[i] : 0));
    column('x', (i) => (part.x ? part.x[i] : 0));
    column('y', (i) => (part.y ? part.y[i] : 0));
    column('name', (i) => (part.name ? part.name[i] : null));
  }

  function numberKinds() {
    let id = 0;
    for (const k of KINDS) {
      first[k] = id;
      id += kinds[k].position.length;
    }
  }

  function whereIs(id) {
    for (let i = KINDS.length - 1; i >= 0; --i) {
      const k = KINDS[i];
      if (id >= first[k]) return id - first[k] < kinds[k].position.length ? { kind: k, index: id - first[k] } : null;
    }
    return null;
  }

  function takeTrack(plan) {
    overview = null;
    if (!plan) return;
    const t = plan.track;
    const n = t.length / 3;
    overview = { m: new Float64Array(n), x: new Float64Array(n), y: new Float64Array(n) };
    for (let i = 0; i < n; ++i) {
      overview.m[i] = t[3 * i];
      overview.x[i] = t[3 * i + 1];
      overview.y[i] = t[3 * i + 2];
    }
  }

  // ---- picture units ----------------------------------------------------------------

  const P = () => drawing.profiles;
  const profileX = (m) => {
    const p = P();
    return p.left + clamp(m, 0, p.axis_end) / p.axis_end * (p.right - p.left);
  };
  const profileMetre = (x) => {
    const p = P();
    return (x - p.left) / (p.right - p.left) * p.axis_end;
  };
  const bandY = (band, v) => band[0] + band[1] - (v - band[2]) / (band[3] - band[2]) * band[1];
  const marksTop = () => P().speed[0];
  const marksBottom = () => P().tunnels[0] + P().tunnels[1];
  const rowsBottom = (rows) => rows[0] + rows[1] * 14;

  // The track between two metres as picture points, from the detail where it is loaded
  // and from the fitted view's track elsewhere.
  function cut(src, a, b, out) {
    const m = src.m;
    const n = m.length;
    if (!n || b < m[0] || a > m[n - 1]) return;
    let lo = 0;
    let hi = n - 1;
    while (lo < hi) {  // the last point at or before a
      const mid = (lo + hi + 1) >> 1;
      if (m[mid] <= a) lo = mid; else hi = mid - 1;
    }
    const at = (i, metre) => {
      if (i + 1 >= n || m[i + 1] === m[i]) return [src.x[i], src.y[i]];
      const t = clamp((metre - m[i]) / (m[i + 1] - m[i]), 0, 1);
      return [src.x[i] + t * (src.x[i + 1] - src.x[i]), src.y[i] + t * (src.y[i + 1] - src.y[i])];
    };
    out.push(at(lo, Math.max(a, m[0])));
    let i = lo + 1;
    for (; i < n && m[i] < b; ++i) out.push([src.x[i], src.y[i]]);
    if (i < n) out.push(at(i - 1, b));
    else out.push([src.x[n - 1], src.y[n - 1]]);
  }

  function trackBetween(a, b) {
    const out = [];
    if (!overview) return out;
    if (level < 0) {
      cut(overview, a, b, out);
      return out;
    }
    const L = tileLength(level);
    let m = a;
    while (m < b) {
      const i = Math.floor(m / L);
      const end = Math.min(b, (i + 1) * L);
      const tile = tiles.get(`${level}:${i}`);
      cut(tile && tile.m ? tile : overview, m, end, out);
      m = end;
    }
    if (a === b) cut(overview, a, b, out);
    return out;
  }

  const pathOf = (pts) => {
    let d = '';
    for (let i = 0; i < pts.length; ++i) d += (i ? 'L' : 'M') + r3(pts[i][0]) + ' ' + r3(pts[i][1]);
    return d;
  };
  const pointsOf = (pts) => pts.map((p) => `${r3(p[0])},${r3(p[1])}`).join(' ');

  // ---- the SVG: the frame, the layers, a node per drawn element ----------------------

  let svg = null;          // the picture, in picture units
  let labelSvg = null;     // the labels, in the view's pixels at the last rest
  let layers = null;       // named groups of the picture
  let nodes = {};          // kind -> per element, the nodes drawn for it
  let natural = { x: 0, y: 0, width: 1, height: 1 };

  function build() {
    stage.replaceChildren();
    svg = el('svg', { id: 'picture', preserveAspectRatio: 'none' }, stage);
    labelSvg = el('svg', { id: 'labels', preserveAspectRatio: 'none' }, stage);
    layers = {};
    const frame = el('g', { id: 'frame' }, svg);
    layers.frame = frame;
    const plan = el('g', { id: 'plan-marks' }, svg);
    const profiles = el('g', { id: 'profile-marks' }, svg);
    for (const name of ['bands', 'slowdown', 'tunnel', 'steps', 'runoff', 'stations', 'errors']) {
      layers[`p_${name}`] = el('g', { class: `p-${name}` }, profiles);
    }
    for (const name of ['tunnel', 'track', 'curve', 'slowdown', 'speed_board', 'board', 'code_point',
      'signal', 'station', 'errors', 'km']) {
      layers[name] = el('g', { class: `l-${name}` }, plan);
    }
    layers.hover = el('g', { id: 'hover-marks' }, svg);
    setFrame();
    drawAll();
  }

  // The frame: the server's SVG, its texts and dots sized by the scale rules (commit).
  let frameTexts = [];
  function setFrame() {
    const f = drawing.frame;
    natural = { x: 0, y: 0, width: f.width || 1, height: f.height || 1 };
    const doc = new DOMParser().parseFromString(f.svg, 'image/svg+xml').documentElement;
    const frame = layers.frame;
    frame.replaceChildren();
    for (const attr of ['font-family']) if (doc.getAttribute(attr)) frame.setAttribute(attr, doc.getAttribute(attr));
    for (const child of [...doc.childNodes]) {
      if (child.nodeType === 1 && child.localName !== 'title') frame.append(document.importNode(child, true));
    }
    textSizes = new Set();
    for (const t of frame.querySelectorAll('text')) {
      const size = parseFloat(t.closest('[font-size]')?.getAttribute('font-size')) || 12;
      t.setAttribute('data-fs', size);
      textSizes.add(size);
      // A text turned by a transform of its own (the profiles' axis titles) makes
      // Chromium lay the moving layer out again at every frame: written sideways, it
      // looks the same.
      const turn = /^\s*translate\(\s*([-\d.]+)[\s,]+([-\d.]+)\s*\)\s*rotate\(\s*-90\s*\)\s*$/
        .exec(t.getAttribute('transform') || '');
      if (turn && !t.hasAttribute('x') && !t.hasAttribute('y')) {
        t.removeAttribute('transform');
        t.setAttribute('x', turn[1]);
        t.setAttribute('y', turn[2]);
        t.style.writingMode = 'sideways-lr';
      }
    }
    dotSizes = new Set();
    for (const c of frame.querySelectorAll('circle')) {
      const r = parseFloat(c.getAttribute('r'));
      if (r > 0) {
        c.setAttribute('data-r', r);
        dotSizes.add(r);
      }
    }
    frameTexts = [...frame.querySelectorAll('text')];
    frameBoxes = null;
    scaledBy = 0;
  }

  // The frame's texts' boxes at their own size, in picture units, with the point each
  // grows from (its anchor on its baseline): measured once for each frame.
  let frameBoxes = null;
  function measureFrame() {
    const ts = Math.min(1, 1 / committed.s);
    frameBoxes = [];
    for (const t of frameTexts) {
      const b = t.getBBox();
      if (!b.width) continue;
      const x = parseFloat(t.getAttribute('x')) || 0;
      const y = parseFloat(t.getAttribute('y')) || 0;
      frameBoxes.push({ x, y, x0: x + (b.x - x) / ts, y0: y + (b.y - y) / ts,
        x1: x + (b.x + b.width - x) / ts, y1: y + (b.y + b.height - y) / ts });
    }
  }

  // A dot or a square that keeps its size on screen: a path of no length, capped.
  const dot = (x, y, size, colour, square, parent, attrs) => el('path', Object.assign({
    d: `M${x} ${y}h0`, stroke: colour, 'stroke-width': size,
    'stroke-linecap': square ? 'square' : 'round', class: 'dot',
  }, attrs || {}), parent);

  // The nodes of one element, made anew.
  function drawElement(kind, i) {
    const k = kinds[kind];
    const id = first[kind] + i;
    const pos = k.position[i];
    const end = k.end[i];
    const a = { 'data-element': id, 'data-position': pos };
    const made = [];
    const plan = !!drawing.plan;
    switch (kind) {
      case 'station': {
        if (plan) {
          made.push(el('circle', Object.assign({ class: 'station', cx: k.x[i], cy: k.y[i], fill: 'white',
            stroke: COLOUR.station, 'stroke-width': 2 }, a), layers.station));
        }
        const x = profileX(pos);
        made.push(el('line', Object.assign({ class: 'station', x1: x, x2: x, y1: rowsBottom(P().station_rows),
          y2: marksBottom(), stroke: COLOUR.station, 'stroke-width': 0.8, 'stroke-dasharray': '3 2' }, a),
        layers.p_stations));
        break;
      }
      case 'signal':
      case 'board':
      case 'speed_board':
      case 'code_point':
        if (plan) {
          const size = { signal: 5.2, board: 5, speed_board: 5.5, code_point: 3 }[kind];
          made.push(dot(k.x[i], k.y[i], size, COLOUR[kind], kind !== 'signal', layers[kind],
            Object.assign({ class: `dot ${kind.replace('_', '-')}` }, a)));
        }
        break;
      case 'slowdown':
      case 'tunnel':
      case 'curve': {
        a['data-end'] = end;
        if (plan) {
          const width = { slowdown: 9, tunnel: 7, curve: 8 }[kind];
          const line = el('polyline', Object.assign({
            class: kind, fill: 'none', stroke: COLOUR[kind === 'curve' ? 'track' : kind], 'stroke-width': width,
            'stroke-opacity': { slowdown: 0.75, tunnel: 0.8, curve: 0 }[kind],
          }, a), layers[kind]);
          line._cut = null;
          cutStretch(kind, i, line);
          made.push(line);
        }
        const x0 = profileX(pos);
        if (kind === 'slowdown') {
          const x1 = Math.max(profileX(end), x0 + 2);
          const g = el('g', Object.assign({ class: 'slowdown' }, a), layers.p_slowdown);
          el('rect', { x: x0, y: marksTop(), width: x1 - x0, height: marksBottom() - marksTop(),
            fill: COLOUR.slowdown, 'fill-opacity': 0.3 }, g);
          const y = bandY(P().speed, k.value[i]);
          el('line', { x1: x0 - 3, x2: x1 + 3, y1: y, y2: y, stroke: COLOUR.slowdown, 'stroke-width': 2.5 }, g);
          made.push(g);
        } else if (kind === 'tunnel') {
          const x1 = Math.max(profileX(end), x0 + 1);
          const t = P().tunnels;
          made.push(el('rect', Object.assign({ class: 'tunnel', x: x0, y: t[0] + 4, width: x1 - x0, height: t[1] - 8,
            fill: COLOUR.tunnel, stroke: 'white', 'stroke-width': 0.5 }, a), layers.p_tunnel));
        }
        break;
      }
      default:
        break;  // profile steps are drawn as one path per profile
    }
    return made;
  }

  function cutStretch(kind, i, line) {
    const k = kinds[kind];
    let pts = trackBetween(k.position[i], k.end[i]);
    if (pts.length === 1) pts = [pts[0], pts[0]];
    line.setAttribute('points', pointsOf(pts));
    line._cut = level < 0 ? 'o' : tilesVersion;
  }

  function drawKind(kind) {
    for (const list of nodes[kind] || []) for (const n of list) n.remove();
    nodes[kind] = [];
    const n = kinds[kind].position.length;
    for (let i = 0; i < n; ++i) nodes[kind].push(drawElement(kind, i));
  }

  // Everything but the frame, anew (a new drawing, or its layout changed).
  function drawAll() {
    for (const name of Object.keys(layers)) if (name !== 'frame') layers[name].replaceChildren();
    nodes = {};
    drawTrack();
    drawKilometres();
    drawBands();
    for (const kind of KINDS) drawKind(kind);
    drawErrors();
    drawSteps();
  }

  // The plan's kilometre points: the server's, or, zoomed in, closer ones (a step of 1, 2
  // or 5 times a power of ten metres, at least 80 pixels apart) along the track in view.
  function kilometres() {
    const k = drawing.kilometres || [];
    if (!drawing.plan) return [];
    const serverStep = k.length >= 6 ? k[3] - k[0] : Infinity;
    const wanted = 80 / (committed.s * drawing.plan.scale);
    let step = 100;
    for (let p = 100; step < wanted; p *= 10) step = [p, 2 * p, 5 * p, 10 * p].find((v) => v >= wanted) || 10 * p;
    if (step >= serverStep) return k;
    const out = [];
    const last = drawing.plan.last;
    for (const [a, b] of level < 0 ? [[0, last]] : visible) {
      for (let m = Math.ceil(a / step) * step; m <= b; m += step) {
        const p = trackBetween(m, m)[0];
        if (p) out.push(m, p[0], p[1]);
      }
    }
    return out;
  }

  function drawKilometres() {
    layers.km.replaceChildren();
    const k = kilometres();
    for (let i = 0; i + 2 < k.length; i += 3) {
      dot(k[i + 1], k[i + 2], 3.6, COLOUR.ink, false, layers.km, { 'data-position': k[i], class: 'dot km' });
    }
    const end = P().route_end;
    if (drawing.plan && end !== null && end <= drawing.plan.last) {
      const p = trackBetween(end, end)[0];
      if (p) dot(p[0], p[1], 7, COLOUR.ink, false, layers.km, { class: 'dot route-end', 'data-position': end });
    }
  }

  // The profiles' own marks: the run-off greyed over, the route end, and the bands the
  // pointer finds the steps in.
  function drawBands() {
    const p = P();
    layers.p_bands.replaceChildren();
    layers.p_runoff.replaceChildren();
    for (const name of STEPS) {
      const b = p[name];
      el('rect', { class: 'band', 'data-profile': name, x: p.left, y: b[0], width: p.right - p.left,
        height: b[1], fill: 'transparent' }, layers.p_bands);
    }
    if (p.route_end !== null && p.route_end < p.axis_end) {
      const x0 = profileX(p.route_end);
      el('rect', { class: 'run-off', 'data-position': p.route_end, x: x0, y: marksTop(), width: p.right - x0,
        height: marksBottom() - marksTop(), fill: 'white', 'fill-opacity': 0.6 }, layers.p_runoff);
    }
    if (p.route_end !== null && p.route_end <= p.axis_end) {
      const x = profileX(p.route_end);
      el('line', { class: 'route-end', 'data-position': p.route_end, x1: x, x2: x, y1: marksTop(), y2: marksBottom(),
        stroke: COLOUR.ink, 'stroke-width': 1.2, 'stroke-dasharray': '6 3' }, layers.p_runoff);
    }
  }

  function drawErrors() {
    layers.errors.replaceChildren();
    layers.p_errors.replaceChildren();
    for (const e of drawing.errors || []) {
      if (e.position === null) continue;
      const a = { 'data-diagnostic': e.diagnostic, 'data-position': e.position };
      if (drawing.plan && e.x !== undefined) {
        el('circle', Object.assign({ class: 'error-ring', cx: e.x, cy: e.y, fill: 'none', stroke: COLOUR.error,
          'stroke-width': 2 }, a), layers.errors);
      }
      const x = profileX(e.position);
      el('line', Object.assign({ class: 'error', x1: x, x2: x, y1: rowsBottom(P().error_rows), y2: marksBottom(),
        stroke: COLOUR.error, 'stroke-width': 1.5 }, a), layers.p_errors);
    }
  }

  // ---- the track and the profiles at the view's level of detail ---------------------

  let level = -1;        // -1: the fitted view's track; k: tiles of tileLength(k) metres
  let visible = [];      // the metre ranges of the track within the drawn area
  let inView = [];       // those within the view itself: the tiles asked for
  let tilesVersion = 0;  // grows whenever the track's detail on screen changes
  const tileLength = (k) => 1024 * 2 ** k;

  function drawTrack() {
    if (!drawing.plan) {
      layers.track.replaceChildren();
      return;
    }
    const last = drawing.plan.last;
    const end = P().route_end === null ? last : Math.min(P().route_end, last);
    const ranges = level < 0 ? [[0, last]] : visible;
    let d = '';
    let run = '';
    for (const [a, b] of ranges) {
      if (a < end) d += pathOf(trackBetween(a, Math.min(b, end)));
      if (b > end) run += pathOf(trackBetween(Math.max(a, end), b));
    }
    // The two paths stay; only what they draw changes.
    let track = layers.track.querySelector('path.track');
    let runOff = layers.track.querySelector('path.run-off');
    if (!track) {
      track = el('path', { class: 'track', fill: 'none', stroke: COLOUR.track, 'stroke-width': 1.6,
        'stroke-linecap': 'round', 'stroke-linejoin': 'round' }, layers.track);
      runOff = el('path', { class: 'run-off', fill: 'none', stroke: COLOUR.run_off, 'stroke-width': 1.6,
        'stroke-dasharray': '5 3' }, layers.track);
    }
    if (track.getAttribute('d') !== d) track.setAttribute('d', d);
    if (runOff.getAttribute('d') !== run) runOff.setAttribute('d', run);
  }

  // One path per profile for the metres [a, b], steps narrower than a pixel merged into
  // one upright stroke from their least to their greatest value.
  function drawSteps(only) {
    const p = P();
    const { a, b, perPixel } = profileWindow();
    for (const name of only || STEPS) {
      const k = kinds[name];
      const band = p[name];
      const n = k.position.length;
      let lo = 0;
      let hi = n;
      while (lo < hi) {  // the first step ending after a
        const mid = (lo + hi) >> 1;
        if (k.end[mid] <= a) lo = mid + 1; else hi = mid;
      }
      let d = '';
      let column = null;
      let lastY = null;
      for (let i = lo; i < n && k.position[i] <= b; ++i) {
        const x0 = profileX(k.position[i]);
        const x1 = profileX(k.end[i]);
        const y = bandY(band, k.value[i]);
        if (lastY === null) d += `M${r3(x0)} ${r3(y)}`;
        const c = Math.floor(x0 / perPixel);
        if (x1 - x0 < perPixel && column !== null && column.c === c) {
          column.min = Math.min(column.min, y);
          column.max = Math.max(column.max, y);
        } else {
          if (column) d += `V${r3(column.min)}V${r3(column.max)}`;
          column = x1 - x0 < perPixel ? { c, min: y, max: y } : null;
          if (lastY !== null) d += `V${r3(y)}`;
        }
        d += `H${r3(x1)}`;
        lastY = y;
      }
      if (column) d += `V${r3(column.min)}V${r3(column.max)}`;
      let path = layers.p_steps.querySelector(`path[data-profile="${name}"]`);
      if (!path) {
        path = el('path', { class: `steps ${name}`, 'data-profile': name, fill: 'none', stroke: COLOUR[name],
          'stroke-width': 1.6 }, layers.p_steps);
      }
      path.setAttribute('d', d);
    }
  }

  // The metres the profiles show in the drawn area, and a screen pixel in picture units.
  function profileWindow() {
    const box = drawnBox();
    return { a: profileMetre(box.x0), b: profileMetre(box.x1), perPixel: 1 / committed.s };
  }

  // The view itself and `margin` pixels around it, in picture units.
  function viewBox(margin) {
    const { w, h } = viewSize();
    const s = committed.s;
    const x0 = natural.x + (-margin - committed.x) / s;
    const y0 = natural.y + (-margin - committed.y) / s;
    return { x0, y0, x1: x0 + (w + 2 * margin) / s, y1: y0 + (h + 2 * margin) / s };
  }

  // The area the picture is drawn for (one view beyond each edge), in picture units.
  function drawnBox() {
    const { w, h } = viewSize();
    const s = committed.s;
    const x0 = natural.x + (-w - committed.x) / s;
    const y0 = natural.y + (-h - committed.y) / s;
    return { x0, y0, x1: x0 + (3 * w) / s, y1: y0 + (3 * h) / s };
  }

  // The level of detail for the view: the fitted view's track while it strays by at most
  // half a pixel, else tiles whose tolerance (a 4096th of their length) is at most that.
  function levelFor(s) {
    const plan = drawing && drawing.plan;
    if (!plan || plan.tolerance * s <= 0.5) return -1;
    const metresPerPixel = 1 / (s * plan.scale);
    const k = Math.floor(Math.log2(2048 * metresPerPixel / 1024));
    return clamp(k, 0, 11);
  }

  // The metre ranges of the fitted view's track that cross the drawn area.
  function visibleRanges(box) {
    const o = overview;
    const pad = drawing.plan.tolerance * 2;
    const out = [];
    for (let i = 0; i + 1 < o.m.length; ++i) {
      const x0 = Math.min(o.x[i], o.x[i + 1]) - pad;
      const x1 = Math.max(o.x[i], o.x[i + 1]) + pad;
      const y0 = Math.min(o.y[i], o.y[i + 1]) - pad;
      const y1 = Math.max(o.y[i], o.y[i + 1]) + pad;
      if (x1 < box.x0 || x0 > box.x1 || y1 < box.y0 || y0 > box.y1) continue;
      if (out.length && out[out.length - 1][1] >= o.m[i]) out[out.length - 1][1] = o.m[i + 1];
      else out.push([o.m[i], o.m[i + 1]]);
    }
    return out;
  }

  // ---- detail from the server: tiles of the track, records of the elements -----------

  const tiles = new Map();     // "level:index" -> {m, x, y} of the track over the tile
  const records = new Map();   // element id -> its record
  const asked = new Map();     // "from-to" -> the request under way
  const recordWindows = new Set();  // "from-to" windows whose records are here

  // The detail of windows of the route, one request for them all; each window's answer
  // (null when it did not come, or is of another drawing) by its own promise.
  function fetchDetails(windows) {
    const todo = windows.filter(([a, b]) => !asked.has(`${a}-${b}`));
    if (todo.length) {
      const generation = drawing.generation;
      const query = todo.length === 1 ? `from=${todo[0][0]}&to=${todo[0][1]}`
        : `windows=${todo.map(([a, b]) => `${a}-${b}`).join(',')}`;
      const request = (async () => {
        try {
          const response = await fetch(`/detail?${query}`, { cache: 'no-store' });
          if (!response.ok) return [];
          const body = await response.json();
          const list = todo.length === 1 ? [body] : body;
          if (!drawing || generation !== drawing.generation) return [];
          for (const detail of list) {
            if (detail.generation !== drawing.generation || !detail.elements) continue;
            for (const r of detail.elements) records.set(r.id, r);
            recordWindows.add(`${detail.from}-${detail.to}`);
          }
          return list;
        } catch (err) {
          return [];
        } finally {
          for (const [a, b] of todo) asked.delete(`${a}-${b}`);
        }
      })();
      todo.forEach(([a, b], i) => asked.set(`${a}-${b}`, request.then((list) => list[i] || null)));
    }
    return windows.map(([a, b]) => asked.get(`${a}-${b}`) || Promise.resolve(null));
  }

  const fetchDetail = (from, to) => fetchDetails([[from, to]])[0];

  // A tile of the track from a window's detail.
  function tileOf(detail) {
    const t = detail.track;
    const n = t.length / 3;
    const tile = { m: new Float64Array(n), x: new Float64Array(n), y: new Float64Array(n) };
    for (let j = 0; j < n; ++j) {
      tile.m[j] = t[3 * j];
      tile.x[j] = t[3 * j + 1];
      tile.y[j] = t[3 * j + 2];
    }
    return tile;
  }

  // A level coarser than k while the visible ranges would take more than 64 tiles.
  function capLevel(k) {
    const count = (j) => inView.reduce(
      (n, [a, b]) => n + Math.floor(b / tileLength(j)) - Math.floor(a / tileLength(j)) + 1, 0);
    while (k >= 0 && k < 11 && count(k) > 64) ++k;
    return k;
  }

  // The tiles of the ranges in view at the view's level, those not here asked for.
  function wantTiles() {
    if (level < 0) return;
    const L = tileLength(level);
    const wanted = [];
    for (const [a, b] of inView) {
      for (let i = Math.floor(a / L); i * L <= b; ++i) {
        const key = `${level}:${i}`;
        if (!tiles.has(key) && !wanted.includes(i)) wanted.push(i);
      }
    }
    // The tiles nearest the middle of the view first.
    const box = viewBox(0);
    const cx = (box.x0 + box.x1) / 2;
    const cy = (box.y0 + box.y1) / 2;
    const distance = (i) => {
      const p = trackBetween(i * L + L / 2, i * L + L / 2)[0];
      return p ? Math.hypot(p[0] - cx, p[1] - cy) : Infinity;
    };
    wanted.sort((a, b) => distance(a) - distance(b));
    const at = level;
    // The tiles come together: drawn at once, for the next frame.
    Promise.all(fetchDetails(wanted.map((i) => [i * L, (i + 1) * L]))).then((details) => {
      let any = false;
      details.forEach((detail, j) => {
        if (!detail || !detail.track) return;
        tiles.set(`${at}:${wanted[j]}`, tileOf(detail));
        if (tiles.size > 400) tiles.delete(tiles.keys().next().value);
        any = true;
      });
      if (any && at === level) detailArrived();
    });
  }

  // Tiles came: the track and the stretches in view are drawn again (a moving view is
  // drawn again when it rests).
  function detailArrived() {
    if (moving || !svg) return;
    ++tilesVersion;
    redrawDetail();
    placeLabels();
    view.dataset.detail = String(tilesVersion);
  }

  function redrawDetail() {
    drawTrack();
    const want = level < 0 ? 'o' : tilesVersion;
    for (const kind of STRETCHES) {
      const k = kinds[kind];
      (nodes[kind] || []).forEach((made, i) => {
        const line = made[0];
        if (!line || line.localName !== 'polyline' || line._cut === want) return;
        if (level >= 0 && !visible.some(([a, b]) => k.end[i] >= a && k.position[i] <= b)) return;
        cutStretch(kind, i, line);
      });
    }
    drawKilometres();
  }

  // ---- pan and zoom -----------------------------------------------------------------
  // The view is a scale s (screen pixels per picture unit) and the screen place (x, y) of
  // the picture's origin. The picture is drawn for the committed view through its viewBox,
  // one view size beyond each edge; while the view moves, only a CSS transform of the
  // stage changes (no layout, no repaint), and the picture is drawn again for the new view
  // once the movement rests.

  const committed = { s: 1, x: 0, y: 0 };
  const live = { s: 1, x: 0, y: 0 };
  let frame = 0;
  let restTimer = 0;
  let moving = false;
  const MIN_S = 0.02;
  const MAX_S = 5000;

  let size = null;
  function viewSize() {
    if (!size) size = { w: view.clientWidth || 1, h: view.clientHeight || 1 };
    return size;
  }

  // The frame's texts and dots keep their size on screen when zoomed in and shrink with
  // the picture when zoomed out, so that they never come closer than `scenario render`
  // placed them (and are left out below 3 pixels); the marks keep their size on screen
  // (their strokes do not scale).
  const scaleSheet = document.head.appendChild(document.createElement('style'));
  let textSizes = new Set();
  let dotSizes = new Set();
  let scaledBy = 0;
  let hiddenSizes = '';
  function scaleMarks(s) {
    if (s === scaledBy) return;
    scaledBy = s;
    const ts = Math.min(1, 1 / s);
    const rules = [];
    // A text too small to read is not drawn: the browser would lay it out on whole pixels.
    let hidden = '';
    for (const f of textSizes) {
      const unread = f * ts * s < 3;
      if (unread) hidden += `${f} `;
      rules.push(`#frame text[data-fs="${f}"]{font-size:${f * ts}px${unread ? ';display:none' : ''}}`);
    }
    if (hidden !== hiddenSizes) frameBoxes = null;  // measured again as they now are
    hiddenSizes = hidden;
    for (const r of dotSizes) rules.push(`#frame circle[data-r="${r}"]{r:${r * ts}px}`);
    rules.push(`#picture circle.station{r:${4.5 / s}px}`);
    rules.push(`#picture circle.error-ring{r:${7 / s}px}`);
    scaleSheet.textContent = rules.join('\n');
  }

  function schedule() {
    if (!moving) view.classList.add('moving');
    moving = true;
    if (hovered !== null) setHover(null);
    if (!frame) frame = requestAnimationFrame(paintFrame);
    clearTimeout(restTimer);
    restTimer = setTimeout(commit, 180);
  }

  function paintFrame() {
    frame = 0;
    const k = live.s / committed.s;
    stage.style.transform =
      `translate(${live.x - committed.x * k}px, ${live.y - committed.y * k}px) scale(${k})`;
  }

  function commit() {
    if (moving) view.classList.remove('moving');
    moving = false;
    clearTimeout(restTimer);
    if (frame) { cancelAnimationFrame(frame); frame = 0; }
    Object.assign(committed, live);
    if (!svg) return;
    const { w, h } = viewSize();
    for (const s of [svg, labelSvg]) {
      s.style.left = `${-w}px`;
      s.style.top = `${-h}px`;
      s.style.width = `${3 * w}px`;
      s.style.height = `${3 * h}px`;
    }
    const box = drawnBox();
    svg.setAttribute('viewBox', `${box.x0} ${box.y0} ${box.x1 - box.x0} ${box.y1 - box.y0}`);
    labelSvg.setAttribute('viewBox', `${-w} ${-h} ${3 * w} ${3 * h}`);
    scaleMarks(committed.s);
    stage.style.transform = 'none';
    const was = level;
    level = levelFor(committed.s);
    visible = level < 0 || !overview ? [] : visibleRanges(box);
    inView = level < 0 || !overview ? [] : visibleRanges(viewBox(24));
    level = capLevel(level);
    if (level !== was || level >= 0) ++tilesVersion;
    wantTiles();  // first: the requests are under way while the rest is drawn
    redrawDetail();
    drawSteps();
    placeLabels();
  }

  function zoomAt(factor, cx, cy) {
    const s = Math.min(MAX_S, Math.max(MIN_S, live.s * factor));
    const k = s / live.s;
    live.x = cx - (cx - live.x) * k;
    live.y = cy - (cy - live.y) * k;
    live.s = s;
    schedule();
  }

  function fit() {
    if (hovered !== null) setHover(null);
    const { w, h } = viewSize();
    const s = Math.min(w / natural.width, h / natural.height) * 0.98;
    live.s = s;
    live.x = (w - natural.width * s) / 2;
    live.y = (h - natural.height * s) / 2;
    commit();
  }

  // Shows the plan's track from one metre to another as large as the view holds.
  function showWindow(from, to) {
    if (!drawing || !drawing.plan) return;
    const pts = trackBetween(from, to);
    if (!pts.length) return;
    let x0 = Infinity, y0 = Infinity, x1 = -Infinity, y1 = -Infinity;
    for (const [x, y] of pts) {
      x0 = Math.min(x0, x); x1 = Math.max(x1, x); y0 = Math.min(y0, y); y1 = Math.max(y1, y);
    }
    const { w, h } = viewSize();
    const s = clamp(Math.min(w / Math.max(x1 - x0, 1e-6), h / Math.max(y1 - y0, 1e-6)) * 0.9, MIN_S, MAX_S);
    live.s = s;
    live.x = w / 2 - ((x0 + x1) / 2 - natural.x) * s;
    live.y = h / 2 - ((y0 + y1) / 2 - natural.y) * s;
    commit();
  }

  view.addEventListener('wheel', (e) => {
    e.preventDefault();
    const unit = e.deltaMode === 1 ? 16 : e.deltaMode === 2 ? 400 : 1;
    const r = view.getBoundingClientRect();
    zoomAt(Math.exp(-e.deltaY * unit * 0.0015), e.clientX - r.left, e.clientY - r.top);
  }, { passive: false });

  let drag = null;
  view.addEventListener('pointerdown', (e) => {
    if (e.button !== 0 || e.target.closest('.tools')) return;
    drag = { id: e.pointerId, x: e.clientX, y: e.clientY };
    view.setPointerCapture(e.pointerId);
    view.classList.add('dragging');
  });
  view.addEventListener('pointermove', (e) => {
    if (drag && e.pointerId === drag.id) {
      live.x += e.clientX - drag.x;
      live.y += e.clientY - drag.y;
      drag.x = e.clientX;
      drag.y = e.clientY;
      hideTip();
      schedule();
      return;
    }
    if (!moving && e.target.classList && e.target.classList.contains('band')) hoverStep(e);
    moveTip(e.clientX, e.clientY);
  });
  const endDrag = (e) => {
    if (!drag || e.pointerId !== drag.id) return;
    drag = null;
    view.classList.remove('dragging');
  };
  view.addEventListener('pointerup', endDrag);
  view.addEventListener('pointercancel', endDrag);

  $('fit').addEventListener('click', fit);
  const zoomCentre = (factor) => {
    const { w, h } = viewSize();
    zoomAt(factor, w / 2, h / 2);
  };
  $('zoom-in').addEventListener('click', () => zoomCentre(1.5));
  $('zoom-out').addEventListener('click', () => zoomCentre(1 / 1.5));
  document.addEventListener('keydown', (e) => {
    if (e.target.closest && e.target.closest('input, textarea')) return;
    if (e.key === '+' || e.key === '=') zoomCentre(1.5);
    else if (e.key === '-') zoomCentre(1 / 1.5);
    else if (e.key === '0') fit();
  });
  new ResizeObserver(() => {
    size = null;
    if (svg) commit();
  }).observe(view);

  // ---- labels: placed at every rest of the view, none over another -------------------

  const widths = new Map();
  const measure = document.createElement('canvas').getContext('2d');
  // A text's width grows with its size: measured once at 100 pixels.
  function textWidth(text, px, bold) {
    const key = `${bold ? 'b' : 'n'}|${text}`;
    let w = widths.get(key);
    if (w === undefined) {
      measure.font = `${bold ? 'bold ' : ''}100px ${FONT}`;
      w = measure.measureText(text).width / 100;
      widths.set(key, w);
    }
    return w * px;
  }

  // The boxes labels (and the frame's texts) have taken, in cells for quick looking up.
  class Taken {
    constructor() { this.cells = new Map(); }
    key(i, j) { return i * 65536 + j; }
    each(b, f) {
      for (let i = Math.floor(b.x0 / 64); i <= Math.floor(b.x1 / 64); ++i) {
        for (let j = Math.floor(b.y0 / 64); j <= Math.floor(b.y1 / 64); ++j) f(this.key(i, j));
      }
    }
    add(b) {
      this.each(b, (k) => {
        let list = this.cells.get(k);
        if (!list) this.cells.set(k, list = []);
        list.push(b);
      });
    }
    free(b) {
      let ok = true;
      this.each(b, (k) => {
        if (!ok) return;
        for (const t of this.cells.get(k) || []) {
          if (t.x0 < b.x1 && b.x0 < t.x1 && t.y0 < b.y1 && b.y0 < t.y1) { ok = false; return; }
        }
      });
      return ok;
    }
  }

  // The pixels the track and the marks cover, in cells of 3 pixels over an area of the
  // screen: a label may cover none of them.
  class Occupied {
    constructor(area) {
      this.x0 = area.x0;
      this.y0 = area.y0;
      this.w = Math.ceil((area.x1 - area.x0) / 3) + 1;
      this.h = Math.ceil((area.y1 - area.y0) / 3) + 1;
      this.cells = new Uint8Array(this.w * this.h);
    }
    mark(x, y) {
      const i = Math.floor((x - this.x0) / 3);
      const j = Math.floor((y - this.y0) / 3);
      if (i >= 0 && j >= 0 && i < this.w && j < this.h) this.cells[j * this.w + i] = 1;
    }
    segment(xa, ya, xb, yb) {
      const out = (v, lo, hi) => v < lo || v > hi;
      const x1 = this.x0 + 3 * this.w;
      const y1 = this.y0 + 3 * this.h;
      if ((out(xa, this.x0, x1) && out(xb, this.x0, x1) && (xa < this.x0) === (xb < this.x0)) ||
        (out(ya, this.y0, y1) && out(yb, this.y0, y1) && (ya < this.y0) === (yb < this.y0))) return;
      const n = Math.min(4096, Math.ceil(Math.hypot(xb - xa, yb - ya) / 1.5));
      for (let i = 0; i <= n; ++i) this.mark(xa + (xb - xa) * i / Math.max(1, n), ya + (yb - ya) * i / Math.max(1, n));
    }
    covers(b) {
      const i0 = Math.max(0, Math.floor((b.x0 - this.x0) / 3));
      const i1 = Math.min(this.w - 1, Math.floor((b.x1 - this.x0) / 3));
      const j0 = Math.max(0, Math.floor((b.y0 - this.y0) / 3));
      const j1 = Math.min(this.h - 1, Math.floor((b.y1 - this.y0) / 3));
      for (let j = j0; j <= j1; ++j) {
        for (let i = i0; i <= i1; ++i) if (this.cells[j * this.w + i]) return true;
      }
      return false;
    }
  }

  // Screen (label layer) coordinates of a picture point.
  const screenX = (x) => (x - natural.x) * committed.s + committed.x;
  const screenY = (y) => (y - natural.y) * committed.s + committed.y;

  let labelNodes = new Map();  // key -> the label's node, kept while its place is the same

  function placeLabels() {
    if (!svg || !drawing) return;
    // Labels keep their size on screen when zoomed in, and shrink with the picture down
    // to half their size (the fitted view of a narrow window is about two thirds): the
    // rows above the profiles hold as many as `scenario render` stacked in them.
    const ls = clamp(committed.s, 0.5, 1);
    const { w, h } = viewSize();
    // Labels for the points in view (and a margin): the rest wait for the view to rest there.
    const area = { x0: -64, y0: -64, x1: w + 64, y1: h + 64 };
    const inArea = (x, y) => x >= area.x0 && x <= area.x1 && y >= area.y0 && y <= area.y1;
    const taken = new Taken();
    const grid = new Occupied(area);
    // The frame's own texts, as large as the scale rule makes them.
    if (!frameBoxes) measureFrame();
    const ts = Math.min(1, 1 / committed.s);
    for (const f of frameBoxes) {
      const x0 = screenX(f.x + (f.x0 - f.x) * ts);
      const x1 = screenX(f.x + (f.x1 - f.x) * ts);
      const y0 = screenY(f.y + (f.y0 - f.y) * ts);
      const y1 = screenY(f.y + (f.y1 - f.y) * ts);
      if (x1 >= area.x0 && x0 <= area.x1 && y1 >= area.y0 && y0 <= area.y1) taken.add({ x0, y0, x1, y1 });
    }
    const wanted = [];  // {key, text, px, bold, colour, box, leader, attrs, boxed}

    if (drawing.plan) {
      // The track and the marks are points no label covers.
      const a = drawing.plan.area;
      const planBox = { x0: Math.max(area.x0, screenX(a[0])), y0: Math.max(area.y0, screenY(a[1])),
        x1: Math.min(area.x1, screenX(a[2])), y1: Math.min(area.y1, screenY(a[3])) };
      const last = drawing.plan.last;
      for (const [from, to] of level < 0 ? [[0, last]] : visible) {
        const pts = trackBetween(from, to);
        for (let i = 1; i < pts.length; ++i) {
          grid.segment(screenX(pts[i - 1][0]), screenY(pts[i - 1][1]), screenX(pts[i][0]), screenY(pts[i][1]));
        }
      }
      for (const kind of POINTS) {
        const k = kinds[kind];
        for (let i = 0; i < k.position.length; ++i) {
          const x = screenX(k.x[i]);
          const y = screenY(k.y[i]);
          if (inArea(x, y)) grid.mark(x, y);
        }
      }
      const around = (key, x, y, text, px, bold, colour, attrs) => {
        if (!inArea(x, y)) return;
        const tw = textWidth(text, px, bold);
        const th = px * 1.25;
        for (const d of [5, 14, 28, 48, 72, 104, 144]) {
          const e = d * 0.7;
          for (const [bx, by] of [[x + d, y - th / 2], [x - d - tw, y - th / 2], [x - tw / 2, y - d - th],
            [x - tw / 2, y + d], [x + e, y - e - th], [x + e, y + e], [x - e - tw, y - e - th], [x - e - tw, y + e]]) {
            const b = { x0: bx, y0: by, x1: bx + tw, y1: by + th };
            if (b.x0 < planBox.x0 || b.y0 < planBox.y0 || b.x1 > planBox.x1 || b.y1 > planBox.y1) continue;
            if (grid.covers(b) || !taken.free(b)) continue;
            taken.add(b);
            wanted.push({ key, text, px, bold, colour, box: b, at: [x, y], attrs });
            return;
          }
        }
      };
      for (const e of drawing.errors || []) {
        if (e.position !== null && e.x !== undefined) {
          around(`pe${e.diagnostic}`, screenX(e.x), screenY(e.y), e.text, 11 * ls, true, COLOUR.error,
            { 'data-diagnostic': e.diagnostic, class: 'label error' });
        }
      }
      const st = kinds.station;
      for (let i = 0; i < st.position.length; ++i) {
        around(`ps${first.station + i}`, screenX(st.x[i]), screenY(st.y[i]), st.name[i] || '', 11 * ls, true,
          COLOUR.station, { 'data-element': first.station + i, class: 'label station' });
      }
      const end = P().route_end;
      const km = kilometres();
      for (let i = 0; i + 2 < km.length; i += 3) {
        around(`km${km[i]}`, screenX(km[i + 1]), screenY(km[i + 2]), (km[i] / 1000).toFixed(3).replace(/\.?0+$/, ''),
          8.5 * ls, false, COLOUR.muted, { class: 'label km' });
      }
      if (end !== null && end <= drawing.plan.last) {
        const p = trackBetween(end, end)[0];
        if (p) {
          around('end', screenX(p[0]), screenY(p[1]), 'route end', 9 * ls, false, COLOUR.ink,
            { class: 'label route-end' });
        }
      }
    }

    // The rows above the profiles: as many as fit on screen, each label in the first
    // row it keeps 8 pixels from the others in; what fits in none is left out.
    const rows = (key, region, items, colour) => {
      const top = screenY(region[0]);
      const bottom = screenY(rowsBottom(region));
      const height = 14 * ls;
      const count = Math.max(0, Math.floor((bottom - top) / height + 1e-6));
      const ends = new Array(count).fill(-Infinity);
      for (const it of items) {
        const x = screenX(profileX(it.position));
        if (x < area.x0 || x > area.x1) continue;
        const tw = textWidth(it.text, 10 * ls, false);
        const lo = screenX(P().left - 70);
        const x0 = clamp(x - tw / 2, lo, Math.max(lo, screenX(P().right + 20) - tw));
        for (let r = 0; r < count; ++r) {
          const b = { x0, y0: top + r * height, x1: x0 + tw, y1: top + (r + 1) * height };
          if (ends[r] + 8 > x0 || !taken.free(b)) continue;
          ends[r] = b.x1;
          taken.add(b);
          wanted.push({ key: `${key}${it.key}`, text: it.text, px: 10 * ls, bold: false, colour, box: b,
            boxed: true, attrs: it.attrs });
          break;
        }
      }
    };
    rows('re', P().error_rows, (drawing.errors || []).filter((e) => e.position !== null).map((e) => ({
      key: e.diagnostic, position: e.position, text: e.text,
      attrs: { 'data-diagnostic': e.diagnostic, class: 'label error' },
    })), COLOUR.error);
    const st = kinds.station;
    rows('rs', P().station_rows, st.position.map((p, i) => ({
      key: first.station + i, position: p, text: st.name[i] || '',
      attrs: { 'data-element': first.station + i, class: 'label station' },
    })), COLOUR.station);
    const end = P().route_end;
    if (end !== null && end < P().axis_end) {
      const x = screenX(profileX(end)) + 4;
      const y = screenY(P().speed[0]) + 2;
      const tw = textWidth('run-off', 9 * ls, false);
      const b = { x0: x, y0: y, x1: x + tw, y1: y + 11.25 * ls };
      if (x + tw < screenX(P().right) && taken.free(b)) {
        taken.add(b);
        wanted.push({ key: 'runoff', text: 'run-off', px: 9 * ls, bold: false, colour: COLOUR.muted, box: b,
          attrs: { class: 'label run-off' } });
      }
    }

    // Onto the label layer: a label whose place and text are the same keeps its node.
    const next = new Map();
    for (const l of wanted) {
      const sig = `${l.text}|${r3(l.box.x0)}|${r3(l.box.y0)}|${l.px}`;
      let g = labelNodes.get(l.key);
      if (!g || g._sig !== sig) {
        if (g) g.remove();
        g = el('g', l.attrs);
        if (l.boxed) {
          el('rect', { x: l.box.x0 - 1, y: l.box.y0 + 1, width: l.box.x1 - l.box.x0 + 2,
            height: l.box.y1 - l.box.y0 - 2, fill: 'white' }, g);
        }
        if (l.at) {
          const cx = clamp(l.at[0], l.box.x0, l.box.x1);
          const cy = clamp(l.at[1], l.box.y0, l.box.y1);
          if (Math.hypot(cx - l.at[0], cy - l.at[1]) > 10) {
            el('line', { x1: l.at[0], y1: l.at[1], x2: cx, y2: cy, stroke: l.colour, 'stroke-width': 0.6 }, g);
          }
        }
        const t = el('text', { x: l.box.x0, y: l.box.y1 - (l.boxed ? 0.35 : 0.3125) * l.px,
          'font-size': l.px, fill: l.colour }, g);
        if (l.bold) t.setAttribute('font-weight', 'bold');
        t.textContent = l.text;
        g._sig = sig;
        labelSvg.append(g);
      }
      next.set(l.key, g);
    }
    for (const [key, g] of labelNodes) if (!next.has(key)) g.remove();
    labelNodes = next;
    if (hovered !== null) markHover(hovered, true);
  }

  // ---- hover: the element under the pointer and its tip ------------------------------

  let hovered = null;   // id of the element under the pointer, as text
  let tipAt = null;
  let tipFrame = 0;

  function markHover(id, on) {
    for (const n of stage.querySelectorAll(`[data-element="${id}"]`)) n.classList.toggle('hover', on);
  }

  function setHover(id) {
    if (id === hovered) return;
    if (hovered !== null) markHover(hovered, false);
    layers && layers.hover.replaceChildren();
    hovered = id;
    if (id === null) { hideTip(); return; }
    markHover(id, true);
    const at = whereIs(Number(id));
    if (at && STEPS.includes(at.kind)) {
      const k = kinds[at.kind];
      const y = bandY(P()[at.kind], k.value[at.index]);
      el('path', { d: `M${profileX(k.position[at.index])} ${y}H${profileX(k.end[at.index])}`, class: 'step-hover',
        stroke: '#ff8c00', 'stroke-opacity': 0.55, 'stroke-width': 9, fill: 'none' }, layers.hover);
    }
    showTip(Number(id));
  }

  function hoverStep(e) {
    const band = e.target.getAttribute('data-profile');
    const r = svg.getBoundingClientRect();
    const box = drawnBox();
    const x = box.x0 + (e.clientX - r.left) / r.width * (box.x1 - box.x0);
    const m = profileMetre(x);
    const k = kinds[band];
    let lo = 0;
    let hi = k.position.length - 1;
    while (lo < hi) {
      const mid = (lo + hi + 1) >> 1;
      if (k.position[mid] <= m) lo = mid; else hi = mid - 1;
    }
    if (k.position.length) setHover(String(first[band] + lo));
  }

  // The tip: what the drawing has of the element at once, its whole record as soon as
  // the server gives it.
  function showTip(id) {
    const at = whereIs(id);
    if (!at) return;
    const k = kinds[at.kind];
    const i = at.index;
    const compact = {
      id, kind: at.kind, name: k.name[i], position: k.position[i],
      end: POINTS.has(at.kind) ? null : k.end[i], value: k.value[i],
    };
    const record = records.get(id);
    tip.replaceChildren(page.elementTip(record || compact, !record));
    tip.hidden = false;
    if (!record) {
      const from = Math.floor(k.position[i] / 1024) * 1024;
      fetchDetail(from, from + 1024).then(() => {
        if (hovered === String(id) && records.has(id)) {
          tip.replaceChildren(page.elementTip(records.get(id), false));
        }
      });
    }
  }

  function hideTip() {
    tip.hidden = true;
    tipAt = null;
  }

  function moveTip(x, y) {
    if (tip.hidden) return;
    tipAt = { x, y };
    if (!tipFrame) {
      tipFrame = requestAnimationFrame(() => {
        tipFrame = 0;
        if (!tipAt) return;
        const pad = 14;
        const w = tip.offsetWidth;
        const h = tip.offsetHeight;
        const left = tipAt.x + pad + w > window.innerWidth ? tipAt.x - pad - w : tipAt.x + pad;
        const top = tipAt.y + pad + h > window.innerHeight ? tipAt.y - pad - h : tipAt.y + pad;
        tip.style.transform = `translate(${Math.max(0, left)}px, ${Math.max(0, top)}px)`;
      });
    }
  }

  view.addEventListener('pointerover', (e) => {
    if (drag || moving) return;
    if (e.target.classList && e.target.classList.contains('band')) return;  // pointermove finds the step
    const node = stage.contains(e.target) ? e.target.closest('[data-element]') : null;
    setHover(node ? node.getAttribute('data-element') : null);
    if (node) moveTip(e.clientX, e.clientY);
  });
  view.addEventListener('pointerleave', () => setHover(null));

  // ---- a diagnostic selected: its marks and its elements highlighted -----------------

  function select(index, d, reveal) {
    for (const n of stage.querySelectorAll('.hl')) n.classList.remove('hl');
    if (index < 0 || !drawing) return;
    const marked = [...stage.querySelectorAll(`[data-diagnostic="${index}"]`)];
    // The elements the diagnostic's row made; failing that, what stands at its position
    // (profile steps and curves aside: they cover every position).
    let ids = [];
    for (const entry of drawing.marked || []) if (entry[0] === index) ids = entry.slice(1);
    if (!ids.length && d && typeof d.position === 'number') {
      for (const kind of KINDS) {
        if (STEPS.includes(kind) || kind === 'curve') continue;
        kinds[kind].position.forEach((p, i) => { if (p === d.position) ids.push(first[kind] + i); });
      }
    }
    for (const id of ids) marked.push(...stage.querySelectorAll(`[data-element="${id}"]`));
    for (const n of marked) n.classList.add('hl');
    if (reveal && marked.length) revealNode(marked[0]);
  }

  // Brings a marked node into the view if none of it is in it, keeping the zoom.
  function revealNode(node) {
    const r = node.getBoundingClientRect();
    const v = view.getBoundingClientRect();
    if (r.right > v.left + 20 && r.left < v.right - 20 && r.bottom > v.top + 20 && r.top < v.bottom - 20) return;
    live.x += v.left + v.width / 2 - (r.left + r.right) / 2;
    live.y += v.top + v.height / 2 - (r.top + r.bottom) / 2;
    commit();
  }

  // ---- a result, whole or its changes ------------------------------------------------

  function showStale(d) {
    view.classList.toggle('stale', !!(d && d.stale));
    const stale = $('stale');
    stale.hidden = !(d && d.stale);
    if (d && d.stale) {
      stale.textContent = `Out of date: the last compile failed; this is the drawing of compile ${d.generation}.`;
    }
    if (d) document.body.dataset.drawingGeneration = String(d.generation);
  }

  function forget() {
    tiles.clear();
    records.clear();
    recordWindows.clear();
  }

  function show(result) {
    const d = result.drawing;
    $('empty').textContent = result.ok ? 'Waiting for the first compile…'
      : 'No drawing: the documents have not compiled yet.';
    $('empty').hidden = !!d;
    showStale(d);
    if (!d) {
      drawing = null;
      stage.replaceChildren();
      svg = null;
      return;
    }
    const firstDrawing = !svg;
    drawing = d;
    for (const kind of KINDS) {
      kinds[kind] = { position: [], end: [], value: [], x: [], y: [], name: [] };
      decodeKind(kinds[kind], 0, 0, d.elements[kind]);
    }
    numberKinds();
    takeTrack(d.plan);
    forget();
    hovered = null;
    hideTip();
    const keep = !firstDrawing && natural.width === d.frame.width && natural.height === d.frame.height;
    build();
    if (keep) commit(); else fit();
  }

  // The changes of a save: only what they name is drawn again.
  function change(changes, result) {
    if ('drawing' in changes) {  // a drawing where there was none, or none any more
      show(result);
      return true;
    }
    const c = changes.drawing_changes;
    if (!c) return true;
    if (!drawing) return false;
    showStale(c);
    drawing.generation = c.generation;
    drawing.stale = c.stale;
    let all = false;
    if (c.frame) {
      drawing.frame = c.frame;
      setFrame();
      scaleMarks(committed.s);
    }
    if ('plan' in c) {
      drawing.plan = c.plan;
      takeTrack(c.plan);
      tiles.clear();
      all = true;
    }
    if (c.kilometres) drawing.kilometres = c.kilometres;
    if (c.profiles) {
      drawing.profiles = c.profiles;
      all = true;
    }
    if (c.errors) drawing.errors = c.errors;
    if (c.marked) drawing.marked = c.marked;
    let counted = false;
    const spliced = [];
    for (const kind of Object.keys(c.elements || {})) {
      const part = c.elements[kind];
      decodeKind(kinds[kind], part.at, part.remove, part);
      if (part.remove !== part.position.length) counted = true;
      spliced.push([kind, part]);
    }
    // The records the server keeps by id: a list that grew or shrank moves every id after
    // it; else only the records in the changed ranges are out of date.
    if (counted) {
      records.clear();
      recordWindows.clear();
    } else {
      for (const [from, to] of c.changed || []) {
        for (const [id, r] of records) if (r.position <= to && (r.end ?? r.position) >= from) records.delete(id);
        for (const key of [...recordWindows]) {
          const [a, b] = key.split('-').map(Number);
          if (a <= to && b >= from) recordWindows.delete(key);
        }
      }
    }
    numberKinds();
    if (all) {
      drawAll();
    } else {
      for (const [kind, part] of spliced) {
        if (STEPS.includes(kind)) continue;
        const list = nodes[kind];
        const made = [];
        for (let i = part.at; i < part.at + part.position.length; ++i) made.push(drawElement(kind, i));
        for (const gone of list.slice(part.at, part.at + part.remove)) for (const n of gone) n.remove();
        list.splice(part.at, part.remove);
        nodes[kind] = list.slice(0, part.at).concat(made, list.slice(part.at));
        // Kept in layer order: the new nodes go where the old ones were.
        const after = nodes[kind][part.at + made.length];
        for (const group of made) {
          for (const n of group) {
            const next = after && after.find((m) => m.parentNode === n.parentNode);
            if (next) n.parentNode.insertBefore(n, next);
          }
        }
      }
      if (counted) {
        for (const kind of KINDS) {
          (nodes[kind] || []).forEach((made, i) => {
            for (const n of made) n.setAttribute('data-element', first[kind] + i);
          });
        }
      }
      const steps = spliced.filter(([kind]) => STEPS.includes(kind)).map(([kind]) => kind);
      if (steps.length) drawSteps(steps);
      if (c.errors) drawErrors();
      if (c.kilometres) drawKilometres();
    }
    if (hovered !== null) { markHover(hovered, false); hovered = null; hideTip(); }
    // The labels are placed again when what they name or stand by changed.
    if (all || c.frame || c.errors || c.kilometres || spliced.some(([kind]) => POINTS.has(kind))) {
      if (c.frame) frameBoxes = null;
      placeLabels();
    }
    return true;
  }

  window.liveParts = window.liveParts || [];
  window.liveParts.push({
    name: 'drawing',
    attach(helpers) { page = helpers; },
    show,
    change,
    select,
    // For the browser tests and the benchmark.
    api: {
      showWindow,
      fit,
      level: () => level,
      view: () => ({ ...committed }),
      pendingDetail: () => asked.size,
    },
  });
})();
