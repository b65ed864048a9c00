// The live page of `scenario serve`: shows the result the page came with, then, each time
// /events announces a compile, what changed since (/result?since=N). No framework, no
// external file.
//
// The page is made of parts: this file keeps the status, the documents and the
// diagnostics, and fetches the results; each other part (drawing.js: the drawing;
// timetable.js: the timetable's graph) adds itself to window.liveParts before this file
// runs, and is handed every whole result (show), every result's changes (change: it
// returns false when it needs the whole result), and the diagnostic selected (select).
'use strict';

(() => {
  const $ = (id) => document.getElementById(id);
  const parts = window.liveParts || [];

  // ---- helpers the parts share ------------------------------------------------------

  function make(tag, className, text) {
    const node = document.createElement(tag);
    if (className) node.className = className;
    if (text !== undefined && text !== null) node.textContent = text;
    return node;
  }

  const plural = (n, one, many) => `${n} ${n === 1 ? one : many}`;
  const metres = (m) => (m === null || m === undefined ? '' : `${m} m`);
  const two = (n) => String(n).padStart(2, '0');
  const clock = (s) => {
    const a = Math.abs(s);
    return `${s < 0 ? '-' : ''}${two(Math.floor(a / 3600))}:${two(Math.floor(a / 60) % 60)}:${two(a % 60)}`;
  };
  // A speed board's packed pair of speeds, in steps of 5 km/h.
  const speedPair = (v) => (v % 100 ? `${Math.floor(v / 100) * 5}/${(v % 100) * 5}` : `${Math.floor(v / 100) * 5}`);
  const CELL_KINDS = {
    0: 'empty', 1: 'signal', 2: 'slowdown end', 3: 'slowdown start', 4: 'slowdown warning',
    5: 'slowdown advance warning', 6: 'speed board', 10: 'station', 11: 'tunnel marker',
    12: 'code change', 13: 'code zero', 14: 'indicator board',
  };

  // A stored value in the author's units first, the stored one beside it; null when the
  // stored value is all there is to say.
  function authorValue(e, field, v) {
    switch (field) {
      case 'orario': return v ? clock(v) : null;
      case 'vel_limite': return `${v * 5} km/h`;
      case 'pendenza': return `${v - 100} \u2030`;
      case 'progressiva':
      case 'inizio_area':
      case 'fine_area': return `${v} m`;
      case 'tipo_cella': return CELL_KINDS[v] || null;
      case 'valore1':
      case 'valore2':
      case 'valore3':
      case 'valore4':
        return e.values && e.values.tipo_cella === 6 && v ? `${speedPair(v)} km/h` : null;
      default: return null;
    }
  }

  // What the kind of an element says its value is in, as the documents write it.
  function compactValue(e) {
    switch (e.kind) {
      case 'speed':
      case 'slowdown': return `${e.value} km/h`;
      case 'gradient': return `${e.value} \u2030`;
      case 'adhesion': return `${e.value} %`;
      case 'tunnel': return `type ${e.value}`;
      default: return null;
    }
  }

  // The tip of an element: its record when there is one (`partial`: only what the drawing
  // has, the rest on its way).
  function elementTip(e, partial) {
    const box = document.createDocumentFragment();
    const head = make('div');
    head.append(make('span', 'kind', (e.kind || '').replace(/_/g, ' ')));
    if (e.name) head.append(' ', make('span', 'name', e.name));
    box.append(head);
    if (e.detail) box.append(make('div', 'detail', e.detail));
    const table = make('table');
    const row = (k, v, stored) => {
      const tr = make('tr');
      const value = make('td', '', v);
      if (stored !== undefined) value.append(' ', make('span', 'stored', `(stored ${stored})`));
      tr.append(make('td', '', k), value);
      table.append(tr);
    };
    const endsAt = e.end !== undefined && e.end !== null;
    row('position', endsAt ? `${metres(e.position)} to ${metres(e.end)}` : metres(e.position));
    if (partial) {
      const v = compactValue(e);
      if (v) row('value', v);
    }
    if (e.cell !== undefined && e.cell !== null) row('cell', String(e.cell));
    if (e.entry !== undefined && e.entry !== null) row('entry', String(e.entry));
    for (const [k, v] of Object.entries(e.values || {})) {
      const shown = authorValue(e, k, v);
      if (shown === null) row(k, String(v)); else row(k, shown, v);
    }
    if (e.document) row('document', e.line ? `${e.document}:${e.line}` : e.document);
    box.append(table);
    if (partial) box.append(make('div', 'detail pending', 'reading its record…'));
    return box;
  }

  const helpers = { make, elementTip };
  for (const p of parts) if (p.attach) p.attach(helpers);

  // ---- the result on screen ---------------------------------------------------------

  let result = null;          // the last result applied, its changes merged in
  let selected = -1;          // the diagnostic clicked, or -1

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

  // For the browser tests and the benchmark: when a result reached the screen. (A task
  // queued from the frame's callback runs once that frame is drawn.)
  function markShown(generation) {
    requestAnimationFrame(() => setTimeout(() => {
      performance.mark('result-shown');
      document.body.dataset.shownAt = String(performance.timeOrigin + performance.now());
      document.body.dataset.shownGeneration = String(generation);
    }, 0));
  }

  function applyResult(next) {
    result = next;
    document.body.dataset.generation = String(next.generation);
    showStatus(next);
    showDocuments(next.documents || {});
    for (const p of parts) p.show(next);
    showDiagnostics(next.diagnostics || []);
    markShown(next.generation);
  }

  // The changes of a compile after the one on screen: only the members that changed are
  // in them. Returns false when they do not follow on from the result on screen.
  function applyChanges(changes) {
    if (!result || changes.since !== result.generation) return false;
    const next = Object.assign({}, result);
    for (const key of Object.keys(changes)) if (key !== 'since' && key !== 'drawing_changes') next[key] = changes[key];
    result = next;
    document.body.dataset.generation = String(next.generation);
    showStatus(next);
    if (changes.documents) showDocuments(next.documents);
    for (const p of parts) if (!p.change(changes, next)) p.show(next);
    if (changes.diagnostics) showDiagnostics(next.diagnostics);
    markShown(next.generation);
    return true;
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

  // The items shown, by the JSON of their diagnostic: a save that changes a few of many
  // diagnostics makes and moves only those (the panel is not laid out afresh).
  let diagnosticNodes = new Map();

  function showDiagnostics(list) {
    const ol = $('diagnostics');
    $('diagnostic-count').textContent = list.length ? `(${list.length})` : '';
    const old = diagnosticNodes;
    diagnosticNodes = new Map();
    const nodes = list.map((d, i) => {
      const key = JSON.stringify(d);
      const kept = old.get(key);
      const li = kept && kept.length ? kept.shift() : diagnosticItem(d, i);
      li.dataset.index = String(i);
      if (!diagnosticNodes.has(key)) diagnosticNodes.set(key, []);
      diagnosticNodes.get(key).push(li);
      return li;
    });
    if (!list.length) nodes.push(make('li', 'none', 'No error, no warning.'));
    let at = ol.firstChild;
    for (const li of nodes) {
      if (li === at) {
        at = at.nextSibling;
      } else {
        ol.insertBefore(li, at);
      }
    }
    while (at) {
      const next = at.nextSibling;
      at.remove();
      at = next;
    }
    selected = selected < list.length ? selected : -1;
    if (selected >= 0) select(selected, false);
  }

  // ---- diagnostics: a click marks the element and the error in every part ------------

  function select(index, reveal) {
    selected = index;
    for (const li of $('diagnostics').querySelectorAll('li.selected')) li.classList.remove('selected');
    if (index >= 0) {
      const li = $('diagnostics').querySelector(`li[data-index="${index}"]`);
      if (li) li.classList.add('selected');
    }
    const d = result && index >= 0 ? (result.diagnostics || [])[index] : null;
    for (const p of parts) if (p.select) p.select(index, d, reveal);
  }

  $('diagnostics').addEventListener('click', (e) => {
    const li = e.target.closest('li[data-index]');
    if (li) select(Number(li.dataset.index), true);
  });

  // ---- the server: /events announces a compile, /result holds it --------------------

  let fetching = false;
  let again = false;
  let wanted = 0;  // the newest generation announced

  async function fetchResult() {
    if (fetching) { again = true; return; }
    fetching = true;
    try {
      do {
        again = false;
        if (result && wanted <= result.generation) break;
        const since = result ? `?since=${result.generation}` : '';
        const response = await fetch(`/result${since}`, { cache: 'no-store' });
        if (!response.ok) throw new Error(`/result: HTTP ${response.status}`);
        const body = await response.text();
        document.body.dataset.resultBytes = String(body.length);
        performance.mark('result-received');
        const next = JSON.parse(body);
        performance.mark('result-parsed');
        if (next.since === undefined) applyResult(next);
        else if (!applyChanges(next)) {
          // Changes since a result the page does not have: the whole one, then.
          const whole = await fetch('/result', { cache: 'no-store' });
          applyResult(await whole.json());
        }
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

  // The result the page came with: drawn before anything is asked of the server.
  const initial = $('result');
  if (initial) {
    try {
      applyResult(JSON.parse(initial.textContent));
    } catch (err) {
      // The page came without one (not from the server): /events brings it.
    }
  }

  let source = null;
  let retry = 250;
  function connect() {
    source = new EventSource('/events');
    source.addEventListener('open', () => {
      retry = 250;
      setConnection('live', 'live');
    });
    source.addEventListener('result', (e) => {
      performance.mark('result-announced');
      let generation = Infinity;
      let changes = null;
      try {
        const data = JSON.parse(e.data);
        generation = data.generation;
        changes = data.changes || null;
      } catch (err) {
        // fetched all the same
      }
      // Small changes come in the event: nothing to fetch when they follow on.
      if (changes && !fetching && result && changes.since === result.generation) {
        document.body.dataset.resultBytes = String(e.data.length);
        performance.mark('result-received');
        performance.mark('result-parsed');
        applyChanges(changes);
        performance.mark('result-applied');
        wanted = Math.max(wanted, generation);
        return;
      }
      // A server started again counts from 1: its results are new all the same.
      if (result && generation < result.generation) result = null;
      wanted = Math.max(wanted, generation);
      if (!result) wanted = generation;
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

  window.livePage = { parts: Object.fromEntries(parts.map((p) => [p.name, p.api || {}])) };
})();
