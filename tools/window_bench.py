"""Measures the game in a real window for tools/window_bench.sh:

    window_bench.py PID LEFT TOP SECONDS TRACE HOGS STEER

where PID is the running game, LEFT TOP its window, TRACE the file of its
ZANDREL_HOST_TRACE; prints the figures.
"""
import os, subprocess, sys, time

pid, left, top, seconds, trace = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3]), float(sys.argv[4]), sys.argv[5]

# The scheduler's own count of time on a processor, in nanoseconds: the
# user and system times of /proc/PID/stat count whole 10 ms ticks, too
# coarse for a process that uses well under one percent.
def cpu_seconds():
    return int(open("/proc/%d/schedstat" % pid).read().split()[0]) / 1e9

def cpu_share(during):
    c0, t0 = cpu_seconds(), time.monotonic()
    during()
    return (cpu_seconds() - c0) / (time.monotonic() - t0) * 100

def move(x, y):
    subprocess.run(["xdotool", "mousemove", str(left + x), str(top + y)], check=True)

idle = cpu_share(lambda: time.sleep(5))

def click(x, y):
    move(x, y)
    subprocess.run(["xdotool", "click", "1"], check=True)

def new_game():
    click(30, 31)
    time.sleep(0.3)
    click(40, 53)
    time.sleep(0.2)

def crashed():
    found = subprocess.run(["xdotool", "search", "--name", "^Alert$"], stdout=subprocess.DEVNULL)
    return found.returncode == 0

# Steer left and right four times a second. A crash ends a game with a box:
# it is dismissed and a new game started, and the time from a second before
# the crash was seen until play goes on again counts for nothing.
injected, breaks, games = [], [], 1
new_game()
def play():
    global games, started
    started = time.monotonic_ns()
    start = time.monotonic()
    step = 0
    while time.monotonic() - start < seconds:
        if crashed():
            seen = time.monotonic_ns()
            subprocess.run(["xdotool", "key", "Return"], check=True)
            time.sleep(0.2)
            new_game()
            breaks.append((seen - 1_000_000_000, time.monotonic_ns()))
            games += 1
        if sys.argv[7] != "0":
            injected.append(time.monotonic_ns())
            move(200 + (step % 2) * 300, 250)
        step += 1
        time.sleep(0.25)
playing = cpu_share(play)
end = time.monotonic_ns()

def in_play(at):
    return started <= at <= end and not any(a <= at <= b for a, b in breaks)

events = []
for line in open(trace):
    what, at = line.split()
    events.append((what, int(at)))
presents = [at for what, at in events if what == "present"]
periods = sorted((b - a) / 1e6 for a, b in zip(presents, presents[1:]) if in_play(a) and in_play(b))
# The latency in two parts: from the injection (which starts an xdotool
# process) until the program has the move, and from there to the pixels.
latencies, arrivals, handling = [], [], []
for t in filter(in_play, injected):
    motion = next((at for what, at in events if what == "motion" and at >= t), None)
    shown = next((at for what, at in events if what == "present" and motion and at >= motion), None)
    if shown is not None:
        latencies.append((shown - t) / 1e6)
        arrivals.append((motion - t) / 1e6)
        handling.append((shown - motion) / 1e6)
for values in (latencies, arrivals, handling):
    values.sort()

def pct(values, p):
    return values[min(len(values) - 1, int(len(values) * p / 100))] if values else float("nan")

print("CPU hogs beside the game: %s" % sys.argv[6])
print("CPU in the start wait:    %.2f%% of one core" % idle)
print("CPU while playing:        %.2f%% of one core over %.0f s, %d games" % (playing, seconds, games))
print("frame period:             median %.2f ms, 99th percentile %.2f ms (%d frames)"
      % (pct(periods, 50), pct(periods, 99), len(periods) + 1))
if latencies:
    print("move to pixels latency:   median %.2f ms, 99th percentile %.2f ms (%d moves)"
          % (pct(latencies, 50), pct(latencies, 99), len(latencies)))
    print("  until the program has it: median %.2f ms; from there to pixels: median %.2f ms"
          % (pct(arrivals, 50), pct(handling, 50)))
