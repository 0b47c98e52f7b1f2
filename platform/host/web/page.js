// The page around the program: it checks that the browser can run it, tells
// the person when it cannot or when the program has ended, and sends the
// program's diagnostics to the console. It runs before the program's own
// script, which takes the settings made here on `Module`.
'use strict';

var Module = (function() {
  var ended = false;

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
  var canvas = document.getElementById('screen');
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
    preRun: [function() { ENV.ZANDREL_DEBUG = '1'; }],
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
      document.body.dataset.state = 'ended';
      document.getElementById('again').focus();
    },
  };
})();

// Without WebAssembly or from a file the program's script is not run.
if (document.body.dataset.state == 'failed') Module.noInitialRun = true;
