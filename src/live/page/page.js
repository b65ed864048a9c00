// The live page of `scenario serve`: shows the latest result of the server (/result) each
// time /events announces a compile. No framework, no external file.
'use strict';

(() => {
  const $ = (id) => document.getElementById(id);
  const view = $('view');
  const stage = $('stage');
  const tip = $('tip');

  // ---- the result on screen ---------------------------------------------------------

  let result = null;          // the last /result applied
  let elements = new Map();   // element id (as text) -> element record of result.drawing
  let svg = null;             // the drawing on screen
  let shownSvg = null;        // its markup, to skip redrawing an unchanged picture
  let selected = -1;          // the diagnostic clicked, or -1

  function make(tag, className, text) {
    const node = document.createElement(tag);
    if (className) node.className = className;
    if (text !== undefined && text !== null) node.textContent = text;
    return node;
  }

  const plural = (n, one, many) => `${n} ${n === 1 ? one : many}`;
  const metres = (m) => (m === null || m === undefined ? '' : `${m} m`);

  function where(d) {
    if (!d.document) return '';
    let text = d.document;
    if (d.line) text += `:${d.line}`;
    if (d.line && d.column) text += `:${d.column}`;
    return text;
  }

  function caret(text, column, endColumn) {
    let out = '';
    for (let i = 0; i < column - 1 && i < text.length; ++i) out += text[i] === '\t' ? '\t' : ' ';
    return out + '^' + (endColumn > column ? '~'.repeat(endColumn - column) : '');
  }

  function applyResult(next) {
    result = next;
    document.body.dataset.generation = String(next.generation);
    showStatus(next);
    showDocuments(next.documents || {});
    showDrawing(next.drawing);
    showDiagnostics(next.diagnostics || []);
    if (window.scenarioTimetable) window.scenarioTimetable.show(next.timetable || null);
    // For the browser tests and the benchmark: when this result reached the screen.
    // (A task queued from the frame's callback runs once that frame is drawn.)
    requestAnimationFrame(() => setTimeout(() => {
      performance.mark('result-shown');
      document.body.dataset.shownAt = String(performance.timeOrigin + performance.now());
      document.body.dataset.shownGeneration = String(next.generation);
    }, 0));
  }

  function showStatus(r) {
    const summary = $('summary');
    const errors = (r.diagnostics || []).filter((d) => d.severity === 'error').length;
    const warnings = (r.diagnostics || []).filter((d) => d.severity === 'warning').length;
    const parts = [`compile ${r.generation}`];
    if (typeof r.compile_ms === 'number') parts.push(`${r.compile_ms.toFixed(1)} ms`);
    parts.push(r.ok ? 'ok' : plural(errors, 'error', 'errors'));
    if (warnings) parts.push(plural(warnings, 'warning', 'warnings'));
    summary.textContent = parts.join(' · ');
    summary.classList.toggle('failed', !r.ok);
    const counts = (r.status && r.status.counts) || {};
    $('counts').textContent = Object.keys(counts)
      .map((k) => `${Number(counts[k]).toLocaleString('en')} ${k.replace(/_/g, ' ')}`).join(', ');
    const files = (r.status && r.status.files) || [];
    $('files').textContent = files.length
      ? 'compile writes: ' + files.map((f) => `${f.name} (${Number(f.size).toLocaleString('en')} B)`).join(', ')
      : '';
  }

  function showDocuments(docs) {
    const list = $('documents');
    list.replaceChildren();
    for (const key of Object.keys(docs)) list.append(make('li', '', `${key}: ${docs[key]}`));
  }

  function diagnosticItem(d, index) {
    const li = make('li', d.severity || 'note');
    if (index !== undefined) li.dataset.index = String(index);
    const number = d.number ?? d.error;
    let severity = d.severity || 'note';
    if (severity === 'error' && number !== undefined && number !== null) severity += ` ${number}`;
    if (d.name) severity += ` [-W${d.name}]`;
    const at = where(d);
    if (at) li.append(make('span', 'where', at), ': ');
    li.append(make('span', 'severity', severity), ': ', d.message || '');
    if (d.position !== undefined && d.position !== null && d.severity) {
      li.append(` (position ${metres(d.position)})`);
    }
    if (d.text) {
      li.append(make('pre', 'source', d.column ? `${d.text}\n${caret(d.text, d.column, d.end_column || 0)}` : d.text));
    }
    if (d.notes && d.notes.length) {
      const notes = make('ul', 'notes');
      for (const n of d.notes) notes.append(diagnosticItem(Object.assign({ severity: 'note' }, n)));
      li.append(notes);
    }
    return li;
  }

  function showDiagnostics(list) {
    const ol = $('diagnostics');
    ol.replaceChildren();
    $('diagnostic-count').textContent = list.length ? `(${list.length})` : '';
    if (!list.length) {
      ol.append(make('li', 'none', 'No error, no warning.'));
    }
    list.forEach((d, i) => ol.append(diagnosticItem(d, i)));
    selected = selected < list.length ? selected : -1;
    if (selected >= 0) select(selected, false);
  }

  // ---- the drawing ------------------------------------------------------------------

  let natural = { x: 0, y: 0, width: 1, height: 1 };  // the picture's own viewBox

  function showDrawing(drawing) {
    const stale = $('stale');
    view.classList.toggle('stale', !!(drawing && drawing.stale));
    stale.hidden = !(drawing && drawing.stale);
    if (drawing && drawing.stale) {
      stale.textContent = `Out of date: the last compile failed; this is the drawing of compile ${drawing.generation}.`;
    }
    $('empty').textContent = result && !result.ok
      ? 'No drawing: the documents have not compiled yet.' : 'Waiting for the first compile…';
    $('empty').hidden = !!drawing;
    elements = new Map();
    if (!drawing) {
      stage.replaceChildren();
      svg = null;
      shownSvg = null;
      return;
    }
    for (const e of drawing.elements || []) elements.set(String(e.id), e);
    document.body.dataset.drawingGeneration = String(drawing.generation);
    if (drawing.svg === shownSvg) return;
    const first = !svg;
    hovered = null;  // its nodes go with the old picture
    hideTip();
    stage.innerHTML = drawing.svg;
    shownSvg = drawing.svg;
    svg = stage.querySelector('svg');
    if (!svg) return;
    prepare(svg);
    if (first) fit(); else commit();
  }

  // Readies a new picture for the view: its size comes from the view, its texts and dots
  // take their size from the scale rules (see commit), and the element titles give way to
  // the page's own tip.
  function prepare(picture) {
    const box = picture.viewBox && picture.viewBox.baseVal;
    if (box && box.width > 0 && box.height > 0) {
      natural = { x: box.x, y: box.y, width: box.width, height: box.height };
    } else {
      natural = {
        x: 0, y: 0,
        width: parseFloat(picture.getAttribute('width')) || 1000,
        height: parseFloat(picture.getAttribute('height')) || 1000,
      };
    }
    picture.removeAttribute('width');
    picture.removeAttribute('height');
    picture.setAttribute('preserveAspectRatio', 'none');
    textSizes = new Set();
    for (const t of picture.querySelectorAll('text')) {
      const size = parseFloat(t.closest('[font-size]')?.getAttribute('font-size')) || 12;
      t.setAttribute('data-fs', size);
      textSizes.add(size);
    }
    dotSizes = new Set();
    for (const c of picture.querySelectorAll('circle')) {
      const r = parseFloat(c.getAttribute('r'));
      if (r > 0) {
        c.setAttribute('data-r', r);
        dotSizes.add(r);
      }
    }
    scaledBy = 0;
    for (const t of picture.querySelectorAll('[data-element] > title')) t.remove();
    // A text turned by a transform of its own (the profiles' axis titles) makes Chromium
    // lay the moving layer out again at every frame: written sideways instead, it looks
    // the same. Any other turned text steps aside while the view moves (page.css).
    for (const t of picture.querySelectorAll('text[transform]')) {
      const turn = /^\s*translate\(\s*([-\d.]+)[\s,]+([-\d.]+)\s*\)\s*rotate\(\s*-90\s*\)\s*$/
        .exec(t.getAttribute('transform'));
      if (!turn || t.hasAttribute('x') || t.hasAttribute('y')) continue;
      t.removeAttribute('transform');
      t.setAttribute('x', turn[1]);
      t.setAttribute('y', turn[2]);
      t.style.writingMode = 'sideways-lr';
    }
    mergeSteps(picture);
  }

  // A profile of a long route is thousands of short paths, one per step, and drawing them
  // one by one is what makes a zoom slow. A group of plain paths (styled only by the
  // group) is drawn as one path; the steps stay, invisible, for the pointer, and show
  // again when hovered or marked (page.css, .stepped).
  const PLAIN = ':scope > path:not([stroke]):not([fill]):not([style]):not([transform])' +
    ':not([stroke-width]):not([stroke-dasharray]):not([opacity]):not([stroke-opacity])' +
    ':not([fill-opacity]):not([marker-start]):not([marker-mid]):not([marker-end])';
  function mergeSteps(picture) {
    for (const group of picture.getElementsByTagName('g')) {
      if (group.childElementCount < 64) continue;
      const steps = group.querySelectorAll(PLAIN);
      if (steps.length < 64 || steps.length !== group.querySelectorAll(':scope > path').length) continue;
      let d = '';
      for (const n of steps) d += n.getAttribute('d') + ' ';
      const merged = document.createElementNS('http://www.w3.org/2000/svg', 'path');
      merged.setAttribute('d', d);
      merged.setAttribute('class', 'merged');
      group.insertBefore(merged, steps[0]);
      group.classList.add('stepped');
    }
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
  let moving = false;   // the view moves: no hover until it rests
  const MIN_S = 0.02;
  const MAX_S = 2000;

  // The view's size, measured once per resize: reading it after the drawing changed
  // would lay the whole picture out twice.
  let size = null;
  function viewSize() {
    if (!size) size = { w: view.clientWidth || 1, h: view.clientHeight || 1 };
    return size;
  }

  // Texts and dots keep their size on screen when zoomed in, and shrink less when zoomed
  // out: one rule per size in a style sheet of their own, so that a zoom restyles them
  // and nothing else.
  const scaleSheet = document.head.appendChild(document.createElement('style'));
  let textSizes = new Set();
  let dotSizes = new Set();
  let scaledBy = 0;
  function scaleMarks(s) {
    const ts = Math.min(1 / s, 1.6);
    if (ts === scaledBy) return;
    scaledBy = ts;
    const rules = [];
    for (const f of textSizes) rules.push(`#stage text[data-fs="${f}"]{font-size:${f * ts}px}`);
    for (const r of dotSizes) rules.push(`#stage circle[data-r="${r}"]{r:${r * ts}px}`);
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
    const s = committed.s;
    svg.style.left = `${-w}px`;
    svg.style.top = `${-h}px`;
    svg.style.width = `${3 * w}px`;
    svg.style.height = `${3 * h}px`;
    const x0 = natural.x + (-w - committed.x) / s;
    const y0 = natural.y + (-h - committed.y) / s;
    svg.setAttribute('viewBox', `${x0} ${y0} ${(3 * w) / s} ${(3 * h) / s}`);
    scaleMarks(s);
    stage.style.transform = 'none';
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

  view.addEventListener('wheel', (e) => {
    e.preventDefault();
    const unit = e.deltaMode === 1 ? 16 : e.deltaMode === 2 ? 400 : 1;
    const r = view.getBoundingClientRect();
    zoomAt(Math.exp(-e.deltaY * unit * 0.0015), e.clientX - r.left, e.clientY - r.top);
  }, { passive: false });

  let drag = null;
  view.addEventListener('pointerdown', (e) => {
    if (e.button !== 0 || e.target.closest('.tools')) return;
    drag = { id: e.pointerId, x: e.clientX, y: e.clientY, moved: false };
    view.setPointerCapture(e.pointerId);
    view.classList.add('dragging');
  });
  view.addEventListener('pointermove', (e) => {
    if (drag && e.pointerId === drag.id) {
      live.x += e.clientX - drag.x;
      live.y += e.clientY - drag.y;
      drag.x = e.clientX;
      drag.y = e.clientY;
      drag.moved = true;
      hideTip();
      schedule();
      return;
    }
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

  // ---- hover: one listener for every element ----------------------------------------

  let hovered = null;   // id of the element under the pointer
  let tipAt = null;
  let tipFrame = 0;

  function elementTip(e) {
    const box = document.createDocumentFragment();
    const head = make('div');
    head.append(make('span', 'kind', (e.kind || '').replace(/_/g, ' ')));
    if (e.name) head.append(' ', make('span', 'name', e.name));
    box.append(head);
    if (e.detail) box.append(make('div', 'detail', e.detail));
    const table = make('table');
    const row = (k, v) => {
      const tr = make('tr');
      tr.append(make('td', '', k), make('td', '', v));
      table.append(tr);
    };
    const endsAt = e.end !== undefined && e.end !== null;
    row('position', endsAt ? `${metres(e.position)} to ${metres(e.end)}` : metres(e.position));
    if (e.cell !== undefined && e.cell !== null) row('cell', String(e.cell));
    if (e.entry !== undefined && e.entry !== null) row('entry', String(e.entry));
    for (const [k, v] of Object.entries(e.values || {})) row(k, String(v));
    if (e.document) row('document', e.line ? `${e.document}:${e.line}` : e.document);
    box.append(table);
    return box;
  }

  function setHover(id) {
    if (id === hovered) return;
    if (hovered !== null) {
      for (const n of stage.querySelectorAll('[data-element].hover')) n.classList.remove('hover');
    }
    hovered = id;
    if (id === null) { hideTip(); return; }
    for (const n of stage.querySelectorAll(`[data-element="${CSS.escape(id)}"]`)) n.classList.add('hover');
    const e = elements.get(id);
    tip.replaceChildren(e ? elementTip(e) : make('div', '', `element ${id}`));
    tip.hidden = false;
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
    const node = stage.contains(e.target) ? e.target.closest('[data-element]') : null;
    setHover(node ? node.getAttribute('data-element') : null);
    if (node) moveTip(e.clientX, e.clientY);
  });
  view.addEventListener('pointerleave', () => setHover(null));

  // ---- diagnostics: a click marks the element and the error on the drawing ----------

  function select(index, reveal) {
    selected = index;
    for (const li of $('diagnostics').querySelectorAll('li.selected')) li.classList.remove('selected');
    for (const n of stage.querySelectorAll('.hl')) n.classList.remove('hl');
    if (index < 0 || !result) return;
    const li = $('diagnostics').querySelector(`li[data-index="${index}"]`);
    if (li) li.classList.add('selected');
    const d = (result.diagnostics || [])[index];
    const marked = [...stage.querySelectorAll(`[data-diagnostic="${index}"]`)];
    // The element the diagnostic's line wrote; failing that, what stands at its position
    // (profile steps and curves aside: they cover every position).
    const profile = new Set(['gradient', 'speed', 'adhesion', 'curve']);
    let found = [];
    if (d && d.document && d.line) {
      found = [...elements.values()].filter((e) => e.document === d.document && e.line === d.line);
    }
    if (!found.length && d && typeof d.position === 'number') {
      found = [...elements.values()].filter((e) => e.position === d.position && !profile.has(e.kind));
    }
    for (const e of found) {
      marked.push(...stage.querySelectorAll(`[data-element="${CSS.escape(String(e.id))}"]`));
    }
    for (const n of marked) n.classList.add('hl');
    if (reveal && marked.length) revealNode(marked[0]);
  }

  // Brings a marked node into the view if none of its shape is in it, keeping the zoom.
  // The shape, not the group: an error mark's sentence runs far to the right.
  function revealNode(node) {
    const shape = node.querySelector('circle, rect, path, line, polyline') || node;
    const r = shape.getBoundingClientRect();
    const v = view.getBoundingClientRect();
    if (r.right > v.left + 20 && r.left < v.right - 20 && r.bottom > v.top + 20 && r.top < v.bottom - 20) return;
    live.x += v.left + v.width / 2 - (r.left + r.right) / 2;
    live.y += v.top + v.height / 2 - (r.top + r.bottom) / 2;
    commit();
  }

  $('diagnostics').addEventListener('click', (e) => {
    const li = e.target.closest('li[data-index]');
    if (li) select(Number(li.dataset.index), true);
  });

  // ---- the server: /events announces a compile, /result holds it --------------------

  let fetching = false;
  let again = false;

  async function fetchResult() {
    if (fetching) { again = true; return; }
    fetching = true;
    try {
      do {
        again = false;
        const response = await fetch('/result', { cache: 'no-store' });
        if (!response.ok) throw new Error(`/result: HTTP ${response.status}`);
        const body = await response.text();
        performance.mark('result-received');
        const next = JSON.parse(body);
        performance.mark('result-parsed');
        applyResult(next);
        performance.mark('result-applied');
      } while (again);
    } catch (err) {
      setConnection('lost', 'no result from the server');
    } finally {
      fetching = false;
    }
  }

  function setConnection(state, text) {
    const c = $('connection');
    c.className = `connection ${state}`;
    c.textContent = text;
  }

  let source = null;
  let retry = 250;
  function connect() {
    source = new EventSource('/events');
    source.addEventListener('open', () => {
      retry = 250;
      setConnection('live', 'live');
    });
    source.addEventListener('result', () => {
      performance.mark('result-announced');
      fetchResult();
    });
    source.addEventListener('error', () => {
      // The server went away (or restarts): keep trying, a little slower each time.
      source.close();
      setConnection('lost', 'server not reachable; retrying…');
      setTimeout(connect, retry);
      retry = Math.min(retry * 2, 4000);
    });
  }
  connect();
})();
