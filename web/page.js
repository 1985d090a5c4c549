// The page around the game (built into vorn.js ahead of the runtime): runs
// the game with the same arguments the desktop game takes, its settings
// from the page's address or the settings form, records and saves demos,
// replays demo files with their checks, and scales the screen in whole steps.
//   index.html?KEY=VALUE&...        a game with these settings
//   index.html?demo=NAME[&fast=1]   replays NAME from the page's folder and
//                                   sets window.vorn_result = {ok, frames, checksum}
//   &frames=N                       (with demo) stops after N frames
'use strict';

var vornPage = (function () {
  const dir = '/vorn';
  const configFile = dir + '/vorn_config.txt';
  const recordFile = dir + '/recording.demo';
  const replayFile = dir + '/replay.demo';
  const pageKeys = ['demo', 'fast', 'frames'];
  const el = (id) => document.getElementById(id);

  const params = new URLSearchParams(location.search);
  let settingsText = '';
  params.forEach((value, key) => {
    if (!pageKeys.includes(key)) settingsText += key + '=' + value + '\n';
  });

  let run = null;       // the run going on: {kind: 'play' | 'record' | 'replay', name, fast}
  let next = null;      // what to start once the run going on has ended
  let soundAllowed = false;
  const errors = [];    // the game's messages during the run going on
  let timedemoLine = '';

  function status(text, bad) {
    el('status').textContent = text;
    el('status').className = bad ? 'bad' : '';
  }

  // The largest whole scale (in device pixels) at which the screen fits
  // below the bar; at least 1.
  function fitScreen() {
    const canvas = el('screen');
    const ratio = window.devicePixelRatio || 1;
    const roomW = window.innerWidth * ratio;
    const roomH = (window.innerHeight - el('bar').offsetHeight) * ratio;
    const scale = Math.max(1, Math.floor(Math.min(roomW / canvas.width, roomH / canvas.height)));
    canvas.style.setProperty('width', (canvas.width * scale) / ratio + 'px', 'important');
    canvas.style.setProperty('height', (canvas.height * scale) / ratio + 'px', 'important');
  }

  function buttons() {
    const recording = run !== null && run.kind === 'record';
    el('record').classList.toggle('on', recording);
    el('save').disabled = !recording;
  }

  // Starts a run with these arguments; false when it ended at once.
  function start(kind, args, extra) {
    errors.length = 0;
    timedemoLine = '';
    run = Object.assign({ kind: kind }, extra || {});
    const code = Module.ccall('vorn_start', 'number', ['string', 'number'], [args.join('\n'), run.fast ? 1 : 0]);
    fitScreen();
    buttons();
    if (code !== -1) {
      ended(code);
      return false;
    }
    if (soundAllowed) Module.ccall('vorn_start_sound', null, ['number'], [70]);
    return true;
  }

  function play(recording) {
    FS.writeFile(configFile, settingsText);
    const args = ['--config', configFile, '--threads', '1', '--no-sound'];
    if (recording) args.push('--record', recordFile);
    if (start(recording ? 'record' : 'play', args)) {
      status(recording ? 'Recording: play, then "Save demo".' : 'Playing. Mouse: turn and fire; w/s: thrust; Space: pause.');
    }
  }

  function replay(name, bytes, fast, frames) {
    FS.writeFile(replayFile, bytes);
    const args = ['--play', replayFile, '--threads', '1', '--no-sound'];
    if (fast) args.push('--timedemo');
    if (frames) args.push('--frames', String(frames));
    if (start('replay', args, { name: name, fast: fast })) status('Replaying ' + name + '...');
  }

  // Runs `action` now, or once the run going on has ended.
  function then(action) {
    if (run === null) {
      action();
      return;
    }
    next = action;
    Module.ccall('vorn_stop', null, [], []);
  }

  function download(bytes, name) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], { type: 'text/plain' }));
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  }

  function demoName() {
    const d = new Date();
    const two = (n) => String(n).padStart(2, '0');
    return 'vorn-' + d.getFullYear() + two(d.getMonth() + 1) + two(d.getDate()) + '-' + two(d.getHours()) +
      two(d.getMinutes()) + two(d.getSeconds()) + '.demo';
  }

  // The end of a replay: its outcome on the page and in window.vorn_result.
  function replayEnded(code, finished) {
    const frames = Module.ccall('vorn_frames', 'number', [], []);
    const departed = Module.ccall('vorn_departed_at', 'number', [], []);
    const checksum = Module.ccall('vorn_checksum', 'string', [], []);
    const ok = code === 0 && departed < 0;
    const result = { ok: ok, frames: frames, checksum: checksum, code: code };
    const fps = /([0-9.]+) fps/.exec(timedemoLine);
    if (fps) {
      result.fps = Number(fps[1]);
      result.timedemo = timedemoLine;
    }
    if (ok) {
      status(finished.name + ' replays bit for bit: ' + frames + ' frames' +
        (fps ? ' (' + result.fps + ' frames per second)' : ''));
    } else if (departed >= 0) {
      status(finished.name + ' departs from its recording at frame ' + departed, true);
    } else {
      status(finished.name + ': ' + (errors[errors.length - 1] || 'the replay failed (' + code + ')'), true);
    }
    window.vorn_result = result;
  }

  // Called by the game when a run has ended, with its exit code.
  function ended(code) {
    const finished = run;
    run = null;
    buttons();
    if (finished.kind === 'replay') {
      replayEnded(code, finished);
    } else if (finished.kind === 'record' && code === 0) {
      download(FS.readFile(recordFile), demoName());
      status('Demo saved.');
    } else if (code !== 0) {
      status(errors[errors.length - 1] || 'The game ended (' + code + ').', true);
    } else {
      status('The game has ended: "New game" starts another.');
    }
    const action = next;
    next = null;
    if (action) action();
  }

  function openFile(file) {
    file.arrayBuffer().then((buffer) => then(() => replay(file.name, new Uint8Array(buffer), false, 0)));
  }

  // Keys typed into the settings stay there and do not steer the ship.
  function keepKeys(node) {
    for (const type of ['keydown', 'keyup', 'keypress']) node.addEventListener(type, (e) => e.stopPropagation());
  }

  function wire() {
    const click = (id, action) => el(id).addEventListener('click', (e) => {
      e.currentTarget.blur();
      action();
    });
    click('new-game', () => then(() => play(false)));
    click('record', () => then(() => play(true)));
    click('save', () => then(() => {}));
    click('open', () => el('demo-file').click());
    click('settings-button', () => el('settings').classList.toggle('open'));
    click('apply', () => {
      settingsText = el('config').value;
      el('settings').classList.remove('open');
      then(() => play(false));
    });
    el('config').value = settingsText;
    keepKeys(el('config'));
    el('demo-file').addEventListener('change', (e) => {
      if (e.target.files.length > 0) openFile(e.target.files[0]);
      e.target.value = '';
    });
    document.addEventListener('dragover', (e) => {
      e.preventDefault();
      document.body.classList.add('dropping');
    });
    document.addEventListener('dragleave', () => document.body.classList.remove('dropping'));
    document.addEventListener('drop', (e) => {
      e.preventDefault();
      document.body.classList.remove('dropping');
      if (e.dataTransfer.files.length > 0) openFile(e.dataTransfer.files[0]);
    });
    // Browsers let a page play sound only after a click or a key.
    const allowSound = () => {
      if (soundAllowed) return;
      soundAllowed = true;
      if (run !== null) Module.ccall('vorn_start_sound', null, ['number'], [70]);
    };
    document.addEventListener('pointerdown', allowSound, true);
    document.addEventListener('keydown', allowSound, true);
    window.addEventListener('resize', fitScreen);
  }

  // The page's first run: the demo named in the address, or a game.
  function begin() {
    // The game writes opaque pixels itself; SDL need not go over them again.
    SDL.defaults.opaqueFrontBuffer = false;
    FS.mkdirTree(dir);
    wire();
    const name = params.get('demo');
    if (name === null) {
      play(false);
      return;
    }
    status('Loading ' + name + '...');
    fetch(name).then((response) => {
      if (!response.ok) throw new Error('HTTP ' + response.status);
      return response.arrayBuffer();
    }).then((buffer) => {
      replay(name, new Uint8Array(buffer), params.get('fast') === '1', Number(params.get('frames') || 0));
    }).catch((error) => {
      status('Cannot load ' + name + ': ' + error.message, true);
      window.vorn_result = { ok: false, frames: 0, checksum: '', error: String(error.message) };
    });
  }

  // The game stopped on an error it could not recover from.
  function aborted(what) {
    status('The game stopped: ' + what, true);
    if (run !== null && run.kind === 'replay') window.vorn_result = { ok: false, frames: 0, checksum: '', error: String(what) };
    run = null;
  }

  return {
    begin: begin,
    ended: ended,
    aborted: aborted,
    print: (line) => {
      console.log(line);
      if (line.startsWith('timedemo:')) timedemoLine = line;
    },
    printErr: (line) => {
      console.warn(line);
      errors.push(line.replace(/^vorn: /, ''));
    },
  };
})();

Module.canvas = document.getElementById('screen');
// Only the game draws on the screen: SDL need not read it back each frame.
Module.screenIsReadOnly = true;
Module.print = vornPage.print;
Module.printErr = vornPage.printErr;
Module.vornRunEnded = vornPage.ended;
Module.onRuntimeInitialized = vornPage.begin;
Module.onAbort = vornPage.aborted;
