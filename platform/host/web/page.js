// The page around the program: it checks that the browser can run it, tells
// the person when it cannot or when the program has ended, and sends the
// program's diagnostics to the console. It runs before the program's own
// script, which takes the settings made here on `Module`.
'use strict';

var Module = (function() {
  var ended = false;
  // The program's name, as the page was made for it; every run records
  // its tape under it, in the program's in-memory files.
  var program = document.documentElement.dataset.program || 'program';
  var tape = '/' + program + '.tape';
  var canvas = document.getElementById('screen');

  function notice(text, offerRestart) {
    document.getElementById('notice-text').textContent = text;
    document.getElementById('again').hidden = !offerRestart;
    document.getElementById('notice').hidden = false;
    document.body.dataset.state = ended ? 'ended' : 'failed';
  }

  function started() {
    return typeof Module == 'object' && Module.zandrel && Module.zandrel.firstFrameMs >= 0;
  }

  function fail(text) {
    if (ended) return;
    ended = true;
    document.getElementById('screen').hidden = true;
    notice(text, true);
    document.body.dataset.state = 'failed';
  }

  document.getElementById('again').addEventListener('click', function() {
    location.reload();
  });

  // The run's tape so far (every block written is whole) or the whole
  // tape of a run that has ended, downloaded as a file.
  var save = document.getElementById('save');
  function hasTape() {
    return typeof FS == 'object' && FS.analyzePath(tape).exists;
  }
  function saveReplay() {
    if (!hasTape()) return;
    var url = URL.createObjectURL(new Blob([FS.readFile(tape)], { type: 'application/octet-stream' }));
    var link = document.createElement('a');
    link.href = url;
    link.download = program + '.tape';
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function() { URL.revokeObjectURL(url); }, 60000);
  }
  save.addEventListener('click', function(event) {
    event.preventDefault();
    saveReplay();
  });
  // F8 on the canvas saves it too; the program never sees that key.
  canvas.addEventListener('keydown', function(event) {
    if (event.code != 'F8') return;
    event.preventDefault();
    if (!event.repeat) saveReplay();
  });

  // A script or the program's code that cannot be fetched shows as an
  // error on the element that asked for it.
  window.addEventListener('error', function(event) {
    var target = event.target;
    if (target && target.tagName == 'SCRIPT')
      fail('Zandrel could not start: the file ' + target.getAttribute('src') +
           ' did not load. Check that the page is served over http with all its files.');
  }, true);

  // The program's code is fetched by a promise whose failure nobody else
  // handles: while the program has not started, that is a file that did
  // not load.
  window.addEventListener('unhandledrejection', function(event) {
    if (started()) return;
    fail('Zandrel could not start: its code did not load (' + event.reason +
         '). Check that the page is served over http with all its files.');
  });

  // In portrait on a phone the game can only be shown small: the page says
  // once that turning the phone makes it larger. The words go when the
  // phone is turned or the game is touched, and do not come back.
  var turnHint = 'unsaid';
  function hintTurning(show) {
    var hint = document.getElementById('turn');
    if (show && turnHint == 'unsaid') turnHint = 'shown';
    else if (!show && turnHint == 'shown') turnHint = 'said';
    hint.hidden = turnHint != 'shown';
  }
  canvas.addEventListener('zandrel-fit', function() {
    hintTurning(+canvas.dataset.scale < 0.75 && window.innerHeight > window.innerWidth);
  });
  canvas.addEventListener('pointerdown', function() { hintTurning(false); });

  // After one visit the page's files come from the worker's cache when
  // there is no network.
  if ('serviceWorker' in navigator && window.isSecureContext) {
    navigator.serviceWorker.register('worker.js').catch(function(error) {
      console.log('Zandrel will not play offline: ' + error);
    });
  }

  if (typeof WebAssembly != 'object' || typeof WebAssembly.instantiate != 'function') {
    fail('Zandrel cannot run here: this browser has no WebAssembly, or it is switched off.');
  } else if (location.protocol == 'file:') {
    fail('Zandrel cannot start from a file: open it through a web server ' +
         '(tools/play --web serves it on http://127.0.0.1:8000/).');
  }

  return {
    canvas: document.getElementById('screen'),
    // The layer's debug channel is its standard error when ZANDREL_DEBUG is
    // set; here both of the program's outputs go to the console.
    thisProgram: program,
    preRun: [function() {
      ENV.ZANDREL_DEBUG = '1';
      ENV.ZANDREL_RECORD = tape;
    }],
    // The tape exists from before main, if the program could make it.
    onRuntimeInitialized: function() { save.hidden = !hasTape(); },
    print: function(text) { console.log(text); },
    printErr: function(text) { console.log(text); },
    onAbort: function(what) {
      fail('Zandrel stopped because of an error: ' + what +
           '. Reloading the page starts it again.');
    },
    onExit: function(code) {
      if (ended) return;
      ended = true;
      document.body.dataset.exitCode = code;
      notice('Zandrel has ended (exit code ' + code + '). ' +
             'Start again to play another game.', true);
      // The notice offers the finished run's tape below its button.
      document.getElementById('notice').appendChild(save);
      save.hidden = !hasTape();
      document.body.dataset.state = 'ended';
      document.getElementById('again').focus();
    },
  };
})();

// Without WebAssembly or from a file the program's script is not run.
if (document.body.dataset.state == 'failed') Module.noInitialRun = true;
