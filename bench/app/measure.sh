#!/bin/sh
# Start-up time, memory and the length of a whole game of the built program,
# headless on the loopback interface. Prints the figures; asserts nothing.
#
#   bench/app/measure.sh BUILD_DIR [RUNS]
#
# (a) exec to the "start" and "first-paint" trace lines of a dealer waiting at
#     the seat panel, median (and range) of RUNS runs (default 10);
# (b) the largest resident size (VmHWM) of one program playing a whole game;
# (c) the wall time of that game: four computer-played seats in one program at
#     --pace 0, median of 3 games;
# (d) for comparison, one game of four programs at one table (a dealer and three
#     joining, each playing its own seat by AutoPlay) at --pace 0.
# Every run has a time limit; ports are free loopback ports, discovery goes to
# 127.255.255.255.
set -eu
if [ $# -lt 1 ]; then
    echo "usage: $0 BUILD_DIR [RUNS]" >&2
    exit 2
fi
APP="$1/app/VeskApp"
RUNS="${2:-10}"
if [ ! -x "$APP" ]; then
    echo "no program at $APP (build the VeskApp target first)" >&2
    exit 2
fi
command -v python3 >/dev/null || { echo "python3 is needed" >&2; exit 2; }

exec python3 - "$APP" "$RUNS" <<'PY'
import os, select, signal, socket, statistics, subprocess, sys, time

app, runs = sys.argv[1], max(1, min(int(sys.argv[2]), 100))

def free_port():
    for _ in range(50):
        with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as s:
            s.bind(("127.0.0.1", 0))
            port = s.getsockname()[1]
        try:
            with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as u:
                u.bind(("127.0.0.1", port + 1))
            return port
        except OSError:
            continue
    sys.exit("no free port")

def env(port):
    e = dict(os.environ)
    e.update(QT_QPA_PLATFORM="offscreen", VESK_PORT=str(port),
             VESK_BROADCAST="127.255.255.255", VESK_SEED="12345")
    return e

def vm_hwm_kb(pid):
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0

def run(args, until, limit):
    """Runs the program until a trace event starting with `until` (None: until it
    ends); returns (seconds to each first trace event, peak VmHWM in kB, seconds
    to the end or None)."""
    port = free_port()
    t0 = time.monotonic()
    p = subprocess.Popen([app] + args + ["--trace"], env=env(port),
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    events, hwm, buf, ended = {}, 0, b"", None
    deadline = t0 + limit
    try:
        while time.monotonic() < deadline:
            ready, _, _ = select.select([p.stderr], [], [], 0.01)
            hwm = max(hwm, vm_hwm_kb(p.pid))
            if ready:
                chunk = os.read(p.stderr.fileno(), 65536)
                now = time.monotonic()
                if not chunk:
                    break
                buf += chunk
                while b"\n" in buf:
                    line, buf = buf.split(b"\n", 1)
                    words = line.decode(errors="replace").split()
                    if len(words) >= 3 and words[0] == "vesk-trace:":
                        events.setdefault(words[2], now - t0)
                        if until and words[2] == until:
                            return events, hwm, None
        if until is None:
            try:
                p.wait(max(0.0, deadline - time.monotonic()))
                ended = time.monotonic() - t0
            except subprocess.TimeoutExpired:
                pass
        return events, hwm, ended
    finally:
        if p.poll() is None:
            p.send_signal(signal.SIGKILL)
        p.wait()

def ms(xs):
    return "median %.0f ms (min %.0f, max %.0f, %d runs)" % (
        statistics.median(xs) * 1000, min(xs) * 1000, max(xs) * 1000, len(xs))

print(f"program: {app}")
print(f"cores: {os.cpu_count()}, load average: {os.getloadavg()[0]:.2f}")

starts, paints = [], []
for _ in range(runs):
    events, _, _ = run(["--name", "M", "--deal"], "first-paint", 30)
    if "first-paint" in events:
        paints.append(events["first-paint"])
        starts.append(events.get("start", float("nan")))
if paints:
    print("(a) exec to main():               " + ms(starts))
    print("(a) exec to first painted table: " + ms(paints) + "  [target <= 250 ms]")
else:
    print("(a) no first-paint line within 30 s")

game = ["--name", "M", "--deal", "--seat", "1", "--partner", "2", "--partner", "3",
        "--partner", "4", "--start", "--autoplay", "--pace", "0", "--exit-after-game"]
walls, hwms, deals = [], [], []
for _ in range(3):
    events, hwm, ended = run(game, None, 120)
    if ended is not None and "game-over" in events:
        walls.append(ended)
        hwms.append(hwm)
if walls:
    print("(b) peak resident memory during a game: %.1f MB (largest of %d games)  [target <= 60 MB]"
          % (max(hwms) / 1024, len(hwms)))
    print("(c) whole game, four computer seats, --pace 0: " + ms(walls) + "  [target <= 20 s]")
else:
    print("(b, c) no game finished within 120 s")

def listening(port):
    with open("/proc/net/tcp") as f:
        return any(w[3] == "0A" and w[1].endswith(":%04X" % port)
                   for w in (line.split() for line in f) if len(w) > 3)

port = free_port()
common = ["--start", "--autoplay", "--pace", "0", "--exit-after-game"]
procs, hwm4 = [], 0
t0 = time.monotonic()
try:
    procs.append(subprocess.Popen([app, "--name", "Ann", "--deal", "--seat", "1"] + common,
                                  env=env(port), stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL))
    for _ in range(1500):
        if listening(port) or procs[0].poll() is not None:
            break
        time.sleep(0.02)
    for seat, name in ((2, "Bob"), (3, "Cid"), (4, "Dan")):
        procs.append(subprocess.Popen([app, "--name", name, "--join", "127.0.0.1", "--seat",
                                       str(seat)] + common, env=env(port),
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
    deadline = t0 + 300
    while time.monotonic() < deadline and any(p.poll() is None for p in procs):
        hwm4 = max([hwm4] + [vm_hwm_kb(p.pid) for p in procs if p.poll() is None])
        time.sleep(0.05)
    if all(p.poll() == 0 for p in procs):
        print("(d) whole game, four programs at one table, --pace 0: %.1f s, "
              "largest program %.1f MB" % (time.monotonic() - t0, hwm4 / 1024))
    else:
        print("(d) the four-program game did not end within 300 s")
finally:
    for p in procs:
        if p.poll() is None:
            p.send_signal(signal.SIGKILL)
        p.wait()
PY
