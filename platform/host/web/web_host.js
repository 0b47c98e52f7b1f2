// The page's side of the web host: the canvas, input, the waits and the
// clock. The C++ side calls these functions; input goes the other way
// through _web_host_input. The host's event types, buttons and the virtual
// keys of the browser's key codes come from the C++ side at start-up
// (web_page_constants), under the names of platform/host/host.h.

mergeInto(LibraryManager.library, {
  $ZandrelPage__postset: 'ZandrelPage.init();',
  $ZandrelPage: {
    // Set by web_page_constants before the page takes input.
    HOST_MOUSE_MOVE: 0,
    HOST_MOUSE_BUTTON: 0,
    HOST_KEY: 0,
    BUTTONS: [],         // the host's button for each of the browser's button numbers
    KEYS: {},            // virtual keys by KeyboardEvent.code
    canvas: null,
    context: null,
    scale: 1,
    width: 0,
    height: 0,
    wake: null,          // ends the current wait, while the program waits
    ended: false,        // the program has ended: no more input for it
    keysDown: null,      // virtual keys held (a Set), to let go of when focus leaves
    buttonsDown: null,   // buttons held (a Set)
    lastPoint: { x: 0, y: 0 },
    frameTimes: [],      // performance.now() of the latest presentations
    channel: null,       // a MessageChannel whose messages start the waits' timers
    onMessage: null,     // what the channel's next message does
    firstFrameMs: -1,    // performance.now() of the first presentation
    picture: null,       // an ImageData over the host's copy of the canvas, while valid

    // Made here: the library's objects are written out as text, which a
    // Set does not survive.
    init: function() {
      ZandrelPage.keysDown = new Set();
      ZandrelPage.buttonsDown = new Set();
      ZandrelPage.frameTimes = [];
      ZandrelPage.channel = new MessageChannel();
      ZandrelPage.channel.port1.onmessage = function() { ZandrelPage.onMessage(); };
      Module['zandrel'] = ZandrelPage;
      var onExit = Module['onExit'];
      Module['onExit'] = function(code) {
        ZandrelPage.end();
        if (onExit) onExit(code);
      };
    },

    // The program has ended: its windows and the task bar it drew end with
    // it, as a process's windows do, so the picture left is the bare
    // desktop (the page's background). The canvas no longer takes the
    // focus, so that the page's own controls can have it.
    end: function() {
      ZandrelPage.ended = true;
      var canvas = ZandrelPage.canvas;
      if (!canvas) return;
      ZandrelPage.context.fillStyle = getComputedStyle(document.body).backgroundColor;
      ZandrelPage.context.fillRect(0, 0, canvas.width, canvas.height);
      canvas.dataset.windows = '[]';
      canvas.setAttribute('aria-label', 'Zandrel');
      canvas.removeAttribute('tabindex');
      canvas.blur();
    },

    // The virtual key of a key the program takes, or 0 for one the browser
    // keeps. A key that types a letter or digit gives that character, on
    // whatever layout, as Windows' virtual keys do; every other key goes by
    // its place, the keypad's digits too, whatever they type.
    virtualKey: function(event) {
      var code = event.code || '';
      var key = event.key || '';
      if (!/^Numpad/.test(code) && key.length == 1 && /[0-9a-z]/i.test(key))
        return key.toUpperCase().charCodeAt(0);
      return Object.prototype.hasOwnProperty.call(ZandrelPage.KEYS, code) ?
        ZandrelPage.KEYS[code] : 0;
    },

    // `madeUp` marks input the page makes up rather than the person gives.
    send: function(type, x, y, button, down, key, madeUp) {
      if (ZandrelPage.ended) return;
      Module['_web_host_input'](type, x, y, button, down ? 1 : 0, key, madeUp ? 1 : 0);
      if (ZandrelPage.wake) ZandrelPage.wake();
    },

    // Screen coordinates of a pointer event: layer pixels, kept on the
    // screen as a real pointer is kept on a real one.
    point: function(event) {
      var box = ZandrelPage.canvas.getBoundingClientRect();
      var x = Math.floor((event.clientX - box.left) * ZandrelPage.width / box.width);
      var y = Math.floor((event.clientY - box.top) * ZandrelPage.height / box.height);
      return {
        x: Math.min(Math.max(x, 0), ZandrelPage.width - 1),
        y: Math.min(Math.max(y, 0), ZandrelPage.height - 1),
      };
    },

    move: function(event) {
      var p = ZandrelPage.point(event);
      if (p.x == ZandrelPage.lastPoint.x && p.y == ZandrelPage.lastPoint.y) return;
      ZandrelPage.lastPoint = p;
      ZandrelPage.send(ZandrelPage.HOST_MOUSE_MOVE, p.x, p.y, 0, false, 0);
    },

    // The bit of a pointer event's `buttons` for each value of its `button`
    // (0 the main button, 1 the middle one, 2 the secondary one).
    BUTTON_BITS: [1, 4, 2],

    // Each button follows its own bit of `buttons`: a browser sends one
    // pointerdown for the first button pressed and one pointerup for the
    // last released, and the changes between come as moves.
    followButtons: function(event, buttons) {
      ZandrelPage.BUTTON_BITS.forEach(function(bit, pageButton) {
        var button = ZandrelPage.BUTTONS[pageButton];
        if (button === undefined) return;
        var down = (buttons & bit) != 0;
        if (down == ZandrelPage.buttonsDown.has(button)) return;
        if (down) ZandrelPage.buttonsDown.add(button); else ZandrelPage.buttonsDown.delete(button);
        var p = event ? ZandrelPage.point(event) : ZandrelPage.lastPoint;
        ZandrelPage.lastPoint = p;
        ZandrelPage.send(ZandrelPage.HOST_MOUSE_BUTTON, p.x, p.y, button, down, 0);
      });
    },

    key: function(event, down) {
      var key = ZandrelPage.virtualKey(event);
      // After the end, keys are the page's again: Tab reaches its button.
      if (!key || ZandrelPage.ended) return;
      // F10, Alt, the arrows and the rest belong to the program while the
      // canvas has the focus: no scrolling, no browser menus.
      event.preventDefault();
      if (down) ZandrelPage.keysDown.add(key); else ZandrelPage.keysDown.delete(key);
      ZandrelPage.send(ZandrelPage.HOST_KEY, 0, 0, 0, down, key);
    },

    // When the page loses the focus, keys and buttons held are let go of:
    // their releases would go elsewhere and the program would see them held.
    // These releases are the page's, not the person's: the program must
    // not take a lone Alt let go of so for a tap that opens the menu bar.
    releaseAll: function() {
      ZandrelPage.keysDown.forEach(function(key) {
        ZandrelPage.send(ZandrelPage.HOST_KEY, 0, 0, 0, false, key, true);
      });
      ZandrelPage.keysDown.clear();
      ZandrelPage.followButtons(null, 0);
    },

    // Only the first finger (or the mouse, or the pen) is the pointer; a
    // second finger on the screen is ignored.
    listenPointer: function(canvas, type, handle) {
      canvas.addEventListener(type, function(e) {
        if (!e.isPrimary || ZandrelPage.ended) return;
        handle(e);
        e.preventDefault();
      });
    },

    listen: function(canvas) {
      var on = ZandrelPage.listenPointer;
      on(canvas, 'pointermove', function(e) {
        // Moves that the browser coalesced come one by one, in order.
        var moves = e.getCoalescedEvents ? e.getCoalescedEvents() : [];
        if (moves.length == 0) moves = [e];
        moves.forEach(ZandrelPage.move);
        ZandrelPage.followButtons(e, e.buttons);
      });
      on(canvas, 'pointerdown', function(e) {
        canvas.focus();
        // The canvas keeps the pointer while a button is held, as the
        // program's capture expects.
        canvas.setPointerCapture(e.pointerId);
        ZandrelPage.move(e);
        ZandrelPage.followButtons(e, e.buttons);
      });
      on(canvas, 'pointerup', function(e) {
        ZandrelPage.move(e);
        ZandrelPage.followButtons(e, e.buttons);
      });
      // A touch the browser took over (a system gesture, say) ends with no
      // pointerup; so does a capture lost while a button is held.
      on(canvas, 'pointercancel', function() { ZandrelPage.followButtons(null, 0); });
      on(canvas, 'lostpointercapture', function() { ZandrelPage.followButtons(null, 0); });
      // Leaving the canvas leaves the pointer at the screen's edge.
      on(canvas, 'pointerleave', ZandrelPage.move);
      canvas.addEventListener('contextmenu', function(e) { e.preventDefault(); });
      canvas.addEventListener('keydown', function(e) { ZandrelPage.key(e, true); });
      canvas.addEventListener('keyup', function(e) { ZandrelPage.key(e, false); });
      canvas.addEventListener('blur', ZandrelPage.releaseAll);
    },

    // Sizes the canvas to `width` by `height` layer pixels shown `shown`
    // CSS pixels each, centred in the viewport. Whole scales keep the
    // pixels sharp; below 1 the browser's smoothing keeps one-pixel lines
    // (a wall, the ball) that dropping whole rows would lose.
    fit: function(width, height, shown) {
      var canvas = ZandrelPage.canvas;
      if (canvas.width != width) canvas.width = width;
      if (canvas.height != height) canvas.height = height;
      ZandrelPage.width = width;
      ZandrelPage.height = height;
      ZandrelPage.scale = shown;
      var cssWidth = width * shown, cssHeight = height * shown;
      canvas.style.width = cssWidth + 'px';
      canvas.style.height = cssHeight + 'px';
      canvas.style.left = Math.max(0, Math.floor((window.innerWidth - cssWidth) / 2)) + 'px';
      canvas.style.top = Math.max(0, Math.floor((window.innerHeight - cssHeight) / 2)) + 'px';
      canvas.style.imageRendering = shown >= 1 ? 'pixelated' : 'auto';
      canvas.dataset.scale = shown;
      canvas.dispatchEvent(new Event('zandrel-fit'));
    },

    // A turned phone or a resized window: the program fits its screen to
    // the new viewport at its next step.
    viewportChanged: function() {
      if (ZandrelPage.ended) return;
      Module['_web_host_viewport_changed']();
      if (ZandrelPage.wake) ZandrelPage.wake();
    },

    // Keeps the latest presentation times, enough for a minute of play.
    noteFrame: function() {
      var now = performance.now();
      if (ZandrelPage.firstFrameMs < 0) ZandrelPage.firstFrameMs = now;
      var times = ZandrelPage.frameTimes;
      times.push(now);
      if (times.length > 8192) times.splice(0, times.length - 4096);
    },
  },

  web_page_viewport__deps: ['$ZandrelPage'],
  web_page_viewport: function(width, height, ratio) {
    HEAP32[width >> 2] = Math.floor(window.innerWidth);
    HEAP32[height >> 2] = Math.floor(window.innerHeight);
    HEAPF64[ratio >> 3] = window.devicePixelRatio || 1;
  },

  web_page_constants__deps: ['$ZandrelPage'],
  web_page_constants: function(json) {
    var constants = JSON.parse(UTF8ToString(json));
    ['HOST_MOUSE_MOVE', 'HOST_MOUSE_BUTTON', 'HOST_KEY', 'BUTTONS', 'KEYS'].forEach(function(name) {
      ZandrelPage[name] = constants[name];
    });
  },

  web_page_start__deps: ['$ZandrelPage'],
  web_page_start: function(width, height, shown) {
    var canvas = Module['canvas'] || document.getElementById('screen');
    ZandrelPage.canvas = canvas;
    ZandrelPage.fit(width, height, shown);
    ZandrelPage.context = canvas.getContext('2d', { alpha: false });
    ZandrelPage.lastPoint = { x: width >> 1, y: height >> 1 };
    ZandrelPage.listen(canvas);
    window.addEventListener('resize', ZandrelPage.viewportChanged);
    canvas.focus();
  },

  web_page_fit__deps: ['$ZandrelPage'],
  web_page_fit: function(width, height, shown) {
    ZandrelPage.fit(width, height, shown);
  },

  // The program runs on from a wait inside callUserCallback, which takes
  // the end of the program (exit() throws an ExitStatus) as the normal end
  // it is rather than letting it reach the page as an uncaught error.
  web_page_wait__deps: ['$ZandrelPage', '$callUserCallback'],
  web_page_wait: function(timeout) {
    return Asyncify.handleSleep(function(wakeUp) {
      var timer = null;
      var done = function() {
        if (ZandrelPage.wake !== done) return;
        ZandrelPage.wake = null;
        if (timer !== null) clearTimeout(timer);
        callUserCallback(wakeUp);
      };
      ZandrelPage.wake = done;
      if (timeout < 0) return;
      // Rounded up: a wait that ended before its deadline would only wait again.
      var ms = Math.ceil(timeout);
      if (ms >= 4) {
        timer = setTimeout(done, ms);
        return;
      }
      // A short timer is set from a message's task, not from the timer task
      // that woke the program: browsers hold timers set by timer tasks five
      // deep to 4 ms at least, which would make short waits late.
      ZandrelPage.onMessage = function() {
        if (ZandrelPage.wake === done) timer = setTimeout(done, ms);
      };
      ZandrelPage.channel.port2.postMessage(0);
    });
  },

  // The ImageData is made again only when the program's memory or the
  // picture moved or changed size: making one per presentation costs more
  // than putting the bands.
  web_page_put_bands__deps: ['$ZandrelPage'],
  web_page_put_bands: function(bands, count, pixels, width, height) {
    var picture = ZandrelPage.picture;
    if (!picture || picture.data.buffer !== HEAPU8.buffer || picture.data.byteOffset !== pixels ||
        picture.width !== width || picture.height !== height) {
      var bytes = new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4);
      picture = ZandrelPage.picture = new ImageData(bytes, width, height);
    }
    for (var i = 0; i < count; ++i) {
      var band = (bands >> 2) + 4 * i;
      var left = HEAP32[band], top = HEAP32[band + 1];
      ZandrelPage.context.putImageData(picture, 0, 0, left, top,
                                       HEAP32[band + 2] - left, HEAP32[band + 3] - top);
    }
  },

  web_page_frame_shown__deps: ['$ZandrelPage'],
  web_page_frame_shown: function() {
    ZandrelPage.noteFrame();
  },

  web_page_windows__deps: ['$ZandrelPage'],
  web_page_windows: function(json) {
    var text = UTF8ToString(json);
    var canvas = ZandrelPage.canvas;
    canvas.dataset.windows = text;
    var titles = JSON.parse(text).map(function(w) { return w.title; }).filter(Boolean);
    canvas.setAttribute('aria-label', titles.length ? titles.join(', ') : 'Zandrel');
  },

  web_page_program_name: function(name, size) {
    stringToUTF8(thisProgram, name, size);
  },

  web_page_now_ms: function() {
    return performance.now();
  },

  web_page_wall_clock_ms: function() {
    return Date.now();
  },
});
