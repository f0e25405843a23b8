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
# (d) one game of four programs at one table (a dealer and three joining, each
#     playing its own seat by AutoPlay) at --pace 0, as a multiple of (c) measured
#     in the same run, and the table-idle probes the four programs sent;
# (e) the CPU of one program with three computer partners and AutoPlay at
#     --pace 1 over 20 s of play, as a share of one core.
# VESK_MEASURE picks the parts to run (default "abcde"; c goes with b, d needs c).
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
import os, select, signal, socket, statistics, subprocess, sys, tempfile, time

app, runs = sys.argv[1], max(1, min(int(sys.argv[2]), 100))
parts = os.environ.get("VESK_MEASURE", "abcde")

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
                        if words[2] == "probes" and len(words) >= 4:
                            events["probe-count"] = events.get("probe-count", 0) + int(words[3])
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
for _ in range(runs if "a" in parts else 0):
    events, _, _ = run(["--name", "M", "--deal"], "first-paint", 30)
    if "first-paint" in events:
        paints.append(events["first-paint"])
        starts.append(events.get("start", float("nan")))
if "a" not in parts:
    pass
elif paints:
    print("(a) exec to main():               " + ms(starts))
    print("(a) exec to first painted table: " + ms(paints) + "  [target <= 250 ms]")
else:
    print("(a) no first-paint line within 30 s")

game = ["--name", "M", "--deal", "--seat", "1", "--partner", "2", "--partner", "3",
        "--partner", "4", "--start", "--autoplay", "--pace", "0", "--exit-after-game"]
walls, hwms, probes1 = [], [], []
for _ in range(3 if ("b" in parts or "c" in parts or "d" in parts) else 0):
    events, hwm, ended = run(game, None, 120)
    if ended is not None and "game-over" in events:
        walls.append(ended)
        hwms.append(hwm)
        probes1.append(events.get("probe-count", 0))
if not walls:
    if "b" in parts or "c" in parts or "d" in parts:
        print("(b, c) no game finished within 120 s")
else:
    print("(b) peak resident memory during a game: %.1f MB (largest of %d games)  [target <= 60 MB]"
          % (max(hwms) / 1024, len(hwms)))
    print("(c) whole game, four computer seats, --pace 0: " + ms(walls) + "  [target <= 20 s]"
          + ", probes sent per game: %d" % max(probes1))

def listening(port):
    with open("/proc/net/tcp") as f:
        return any(w[3] == "0A" and w[1].endswith(":%04X" % port)
                   for w in (line.split() for line in f) if len(w) > 3)

def four_program_game():
    """One game at a table of four programs; returns (seconds, largest VmHWM kB,
    probes sent by all four) or None when it did not end well within 300 s."""
    port = free_port()
    common = ["--start", "--autoplay", "--pace", "0", "--exit-after-game", "--trace"]
    procs, logs, hwm4 = [], [], 0
    t0 = time.monotonic()
    try:
        def start(args):
            log = tempfile.TemporaryFile()
            logs.append(log)
            procs.append(subprocess.Popen([app] + args + common, env=env(port),
                                          stdout=subprocess.DEVNULL, stderr=log))
        start(["--name", "Ann", "--deal", "--seat", "1"])
        for _ in range(1500):
            if listening(port) or procs[0].poll() is not None:
                break
            time.sleep(0.02)
        for seat, name in ((2, "Bob"), (3, "Cid"), (4, "Dan")):
            start(["--name", name, "--join", "127.0.0.1", "--seat", str(seat)])
        deadline = t0 + 300
        while time.monotonic() < deadline and any(p.poll() is None for p in procs):
            hwm4 = max([hwm4] + [vm_hwm_kb(p.pid) for p in procs if p.poll() is None])
            time.sleep(0.05)
        took = time.monotonic() - t0
        if not all(p.poll() == 0 for p in procs):
            return None
        probes = 0
        for log in logs:
            log.seek(0)
            for line in log.read().decode(errors="replace").splitlines():
                words = line.split()
                if len(words) >= 4 and words[0] == "vesk-trace:" and words[2] == "probes":
                    probes += int(words[3])
        return took, hwm4, probes
    finally:
        for p in procs:
            if p.poll() is None:
                p.send_signal(signal.SIGKILL)
            p.wait()
        for log in logs:
            log.close()

if "d" in parts:
    result = four_program_game()
    if result is None:
        print("(d) the four-program game did not end within 300 s")
    else:
        took, hwm4, probes = result
        ratio = ("%.1fx the one-program game (c)" % (took / statistics.median(walls))
                 if walls else "no one-program game to compare with")
        print("(d) whole game, four programs at one table, --pace 0: %.1f s, %s  [target <= 4x]; "
              "largest program %.1f MB; probes sent per game: %d"
              % (took, ratio, hwm4 / 1024, probes))

def cpu_seconds(pid):
    """User plus system CPU of a running process (all its threads), in seconds."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

if "e" in parts:
    # From the first deal on, so that start-up does not count.
    port = free_port()
    args = ["--name", "M", "--deal", "--seat", "1", "--partner", "2", "--partner", "3",
            "--partner", "4", "--start", "--autoplay", "--pace", "1", "--trace"]
    p = subprocess.Popen([app] + args, env=env(port), stdout=subprocess.DEVNULL,
                         stderr=subprocess.PIPE)
    try:
        buf, began, deadline = b"", None, time.monotonic() + 60
        while began is None and time.monotonic() < deadline:
            ready, _, _ = select.select([p.stderr], [], [], 0.5)
            if not ready:
                continue
            chunk = os.read(p.stderr.fileno(), 65536)
            if not chunk:
                break
            buf += chunk
            if b" deal " in buf or b" deal\n" in buf:
                began = time.monotonic()
        if began is None:
            print("(e) no deal began within 60 s")
        else:
            cpu0 = cpu_seconds(p.pid)
            # Keep reading the trace so that the program never blocks on a full pipe.
            end = began + 20
            while time.monotonic() < end and p.poll() is None:
                ready, _, _ = select.select([p.stderr], [], [], max(0.0, end - time.monotonic()))
                if ready and not os.read(p.stderr.fileno(), 65536):
                    break
            if p.poll() is not None:
                print("(e) the program ended before 20 s of play")
            else:
                used = cpu_seconds(p.pid) - cpu0
                wall = time.monotonic() - began
                print("(e) one program, three partners, AutoPlay, --pace 1: %.2f CPU-s in %.1f s "
                      "= %.3f of a core  [target <= 0.05]" % (used, wall, used / wall))
    finally:
        if p.poll() is None:
            p.send_signal(signal.SIGKILL)
        p.wait()
PY
