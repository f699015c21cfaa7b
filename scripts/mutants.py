#!/usr/bin/env python3
"""The mutation campaign: how many small faults the tests catch.

Each fault of the list (scripts/mutants.txt) is put, one at a time, into a
scratch copy of the sources (build-mutants/src, never the real engine/); the
engine and its tests are rebuilt incrementally and the engine tests run with a
time limit. A fault is killed when a test fails (or the tests overrun their
time limit), and survives when they all pass. The table lists every fault and
the score: the share of the faults not marked equivalent that were killed.

A fault in frontend/ (scripts/mutants-frontend.txt) goes into a scratch copy
of its own (build-mutants/frontend-src), built with the front end; the front
end's programs and test programs are rebuilt and the front end's ctest entries
run (QT_QPA_PLATFORM=offscreen). Its "shown by" is a shell command run in an
empty folder with the scratch copy's programs, then scripts/, first in PATH
(scripts/window-run.sh drives the main window); --show runs it with and
without the fault, instead of the tests, and says whether the two runs differ
(what the program printed, its exit status, or the files it left).

    nice -n 10 scripts/mutants.py                  # every fault of the list
    scripts/mutants.py --only search-bound-small,poly-cube-root
    scripts/mutants.py --tests-from b103c6d        # the tests as they stood then
    nice -n 10 scripts/mutants.py --list scripts/mutants-frontend.txt
    scripts/mutants.py --list scripts/mutants-frontend.txt --show --only reader-nth-from-zero

The copy is kept between campaigns, so that a second one rebuilds only what
changed. Each mutant's test output is kept in build-mutants/logs/ID.txt (the
front end's in build-mutants/frontend-logs/, the runs of --show in ID.show.txt).
"""

import argparse
import json
import os
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
# What the engine and its tests need to build; the front end is not built
# (the reader's fuzz target, configured with the tests, names some of its
# sources, so they are copied).
COPIED = ["CMakeLists.txt", "engine", "frontend", "tests", "fuzz"]
# What the front end, its programs and its tests need to build.
FRONTEND_COPIED = ["CMakeLists.txt", "cmake", "engine", "frontend", "tests", "fuzz"]
# The front end's ctest entries.
FRONTEND_TESTS = "^frontend_"
# The programs that a fault's "shown by" runs.
FRONTEND_PROGRAMS = ["pfac", "pfac-engine", "pfac-exact"]
# The slow property tests run only when the quick ones let a fault through.
SLOW_TESTS = "Property.*:Exactness.*"


class Fault:
    def __init__(self, ident, path, line):
        self.ident = ident
        self.path = path
        self.line = line  # where the fault starts in the list
        self.old = []
        self.new = []
        self.equivalent = ""
        self.shown_by = ""  # the plain input that shows the fault, with any note

    @property
    def old_text(self):
        return "\n".join(self.old)

    @property
    def new_text(self):
        return "\n".join(self.new)


def read_faults(list_path):
    """Blocks of "fault ID FILE", "- TEXT" lines (the text as it stands in
    FILE), "+ TEXT" lines (what takes its place; none: the text is dropped), an
    optional "equivalent: REASON" and an optional "shown by: TEXT" (the
    DXS.DAT text that shows the fault, with any note on how it is run; for a
    fault in frontend/, the shell command that shows it)."""
    faults, errors = [], []
    current = None
    for number, raw in enumerate(list_path.read_text().splitlines(), 1):
        if raw.startswith("fault "):
            parts = raw.split()
            if len(parts) != 3:
                errors.append(f"{list_path.name}:{number}: expected \"fault ID FILE\"")
                current = None
                continue
            current = Fault(parts[1], parts[2], number)
            faults.append(current)
        elif raw.startswith("- ") or raw == "-" or raw.startswith("+ ") or raw == "+":
            if current is None:
                errors.append(f"{list_path.name}:{number}: a text line outside a fault")
                continue
            (current.old if raw[0] == "-" else current.new).append(raw[2:])
        elif raw.startswith("equivalent:"):
            if current is None:
                errors.append(f"{list_path.name}:{number}: \"equivalent\" outside a fault")
                continue
            current.equivalent = raw[len("equivalent:"):].strip()
        elif raw.startswith("shown by:"):
            if current is None:
                errors.append(f"{list_path.name}:{number}: \"shown by\" outside a fault")
                continue
            if current.shown_by:
                errors.append(f"{list_path.name}:{number}: a second \"shown by\" for {current.ident}")
            current.shown_by = raw[len("shown by:"):].strip()
        elif raw.strip() and not raw.startswith("#"):
            errors.append(f"{list_path.name}:{number}: not understood: {raw}")
    seen = set()
    for fault in faults:
        if fault.ident in seen:
            errors.append(f"two faults named {fault.ident}")
        seen.add(fault.ident)
        if not fault.old:
            errors.append(f"{fault.ident}: no \"-\" line")
    return faults, errors


def sync_tree(source, target):
    """Makes target hold what source holds, writing only the files that
    differ, so that the build after it stays incremental."""
    if source.is_file():
        if not target.exists() or target.read_bytes() != source.read_bytes():
            target.parent.mkdir(parents=True, exist_ok=True)
            shutil.copyfile(source, target)
        # Scripts the tests run (a terminal's stand-in) stay executable.
        shutil.copymode(source, target)
        return
    wanted = set()
    for path in source.rglob("*"):
        if path.is_dir():
            continue
        relative = path.relative_to(source)
        wanted.add(relative)
        sync_tree(path, target / relative)
    if target.exists():
        for path in sorted(target.rglob("*"), reverse=True):
            relative = path.relative_to(target)
            if path.is_file() and relative not in wanted:
                path.unlink()
            elif path.is_dir() and not any(path.iterdir()):
                path.rmdir()


def run(command, log, time_limit=None, cwd=None, env=None):
    """Runs a command with its output appended to log; returns its exit
    status, or None when it overran the time limit (its whole process group
    is then ended)."""
    with open(log, "a") as out:
        out.write("$ " + " ".join(str(c) for c in command) + "\n")
        out.flush()
        process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT,
                                   cwd=cwd, env=env, start_new_session=True)
        try:
            return process.wait(timeout=time_limit)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
            return None


def first_failure(log):
    for line in Path(log).read_text(errors="replace").splitlines():
        if line.startswith("[  FAILED  ] ") and "listed below" not in line:
            return line[len("[  FAILED  ] "):].split(", where ")[0].split(" (")[0]
    return "a test failed"


def frontend_failure(log):
    """The first failing test of a ctest run: a Google Test case, a Qt Test
    function, or else the ctest entry."""
    lines = Path(log).read_text(errors="replace").splitlines()
    for line in lines:
        if line.startswith("[  FAILED  ] ") and "listed below" not in line:
            return line[len("[  FAILED  ] "):].split(", where ")[0].split(" (")[0]
        if line.startswith("FAIL!  : "):
            # "Class::function(row name) Compared values ...": the row's name may hold blanks.
            failed = line[len("FAIL!  : "):]
            name = failed.split(" ")[0]
            if "(" in name and ")" not in name and ") " in failed:
                name = failed[:failed.index(") ") + 1]
            return name
    for number, line in enumerate(lines):
        if "tests FAILED:" in line and number + 1 < len(lines):
            return lines[number + 1].strip().split(" - ", 1)[-1].split(" (")[0]
    return "a test failed"


def copy_sources(names, source, scratch, tests_from):
    """Brings the scratch copy up to date with the named parts of the
    repository, tests/ from a git revision when one is given."""
    source.mkdir(parents=True, exist_ok=True)
    for name in names:
        sync_tree(ROOT / name, source / name)
    if tests_from:
        archive = subprocess.run(["git", "-C", str(ROOT), "archive", tests_from, "tests"],
                                 check=True, capture_output=True).stdout
        unpacked = scratch / (source.name + "-tests-from")  # one for each copy, which may run at once
        shutil.rmtree(unpacked, ignore_errors=True)
        unpacked.mkdir()
        subprocess.run(["tar", "-x", "-C", str(unpacked)], input=archive, check=True)
        sync_tree(unpacked / "tests", source / "tests")


def with_fault(path, fault, logs, body):
    """Puts the fault in, runs body(log) on a fresh log, and takes the fault
    out again; the error text when the fault cannot be put in."""
    mutated, original = put_fault(path, fault)
    if mutated is None:
        return original
    log = logs / f"{fault.ident}.txt"
    log.write_text("")
    path.write_text(mutated)
    try:
        return body(log)
    finally:
        path.write_text(original)


def put_fault(path, fault):
    """The file's text with the fault in it, and the text as it was; an error
    text instead when the fault's text does not stand once in the file."""
    original = path.read_text()
    count = original.count(fault.old_text)
    if count != 1:
        return None, f"error: the text stands {count} times in the file"
    return original.replace(fault.old_text, fault.new_text), original


class Campaign:
    def __init__(self, args):
        self.scratch = Path(args.scratch).resolve()
        self.source = self.scratch / "src"
        self.build = self.scratch / "build"
        self.logs = self.scratch / "logs"
        self.jobs = str(args.jobs)
        self.time_limit = args.time_limit
        self.tests = self.build / "bin" / "engine_tests"

    def prepare(self, tests_from):
        self.logs.mkdir(parents=True, exist_ok=True)
        copy_sources(COPIED, self.source, self.scratch, tests_from)
        log = self.logs / "baseline.txt"
        log.write_text("")
        if run(["cmake", "-S", self.source, "-B", self.build, "-DCMAKE_BUILD_TYPE=Release",
                "-DPFAC_FRONTEND=OFF"], log) != 0:
            sys.exit(f"the scratch copy does not configure; see {log}")
        if not self.rebuild(log):
            sys.exit(f"the scratch copy does not build; see {log}")
        if self.test(log) != "survived":
            sys.exit(f"the tests fail without any fault; see {log}")

    def rebuild(self, log):
        return run(["cmake", "--build", self.build, "-j", self.jobs, "--target", "engine_tests"], log) == 0

    def test(self, log):
        """"killed: TEST", "killed: time limit" or "survived"."""
        started = time.monotonic()
        for tests in ("-" + SLOW_TESTS, SLOW_TESTS):
            left = self.time_limit - (time.monotonic() - started)
            status = run([self.tests, "--gtest_filter=" + tests, "--gtest_fail_fast", "--gtest_brief=1"],
                         log, time_limit=max(left, 1), cwd=self.scratch)
            if status is None:
                return "killed: time limit"
            if status < 0:
                return f"killed: the tests ended on signal {-status}"
            if status != 0:
                return "killed: " + first_failure(log)
        return "survived"

    def try_fault(self, fault):
        """Puts the fault in, builds and tests, and takes it out again."""
        path = self.source / fault.path
        if not fault.path.startswith("engine/") or not path.is_file():
            return "error: no such file under engine/"
        return with_fault(path, fault, self.logs,
                          lambda log: self.test(log) if self.rebuild(log) else "error: does not build")


class FrontendCampaign:
    """The faults in frontend/: a scratch copy of their own built with the
    front end, its programs and test programs rebuilt for each fault, and the
    front end's ctest entries run; or, with --show, each fault's "shown by"
    run with and without it."""

    def __init__(self, args):
        self.scratch = Path(args.scratch).resolve()
        self.source = self.scratch / "frontend-src"
        self.build = self.scratch / "frontend-build"
        self.logs = self.scratch / "frontend-logs"
        self.jobs = str(args.jobs)
        self.time_limit = args.time_limit
        self.targets = list(FRONTEND_PROGRAMS)
        self.baselines = {}
        self.env = dict(os.environ, QT_QPA_PLATFORM="offscreen")

    def prepare(self, tests_from, show_faults=None):
        """Builds the copy as it stands; then the tests must pass (or, for
        --show, each command is run once without a fault)."""
        self.logs.mkdir(parents=True, exist_ok=True)
        copy_sources(FRONTEND_COPIED, self.source, self.scratch, tests_from)
        log = self.logs / "baseline.txt"
        log.write_text("")
        # Each fault relinks every test program of the front end: lld, where
        # it is installed, links them several times faster than the default.
        linker = "-fuse-ld=lld" if shutil.which("ld.lld") else ""
        if run(["cmake", "-S", self.source, "-B", self.build, "-DCMAKE_BUILD_TYPE=Release",
                "-DPFAC_FRONTEND=ON", "-DCMAKE_EXE_LINKER_FLAGS=" + linker], log) != 0:
            sys.exit(f"the front end's scratch copy does not configure; see {log}")
        listing = subprocess.run(["ctest", "--test-dir", str(self.build), "-R", FRONTEND_TESTS,
                                  "--show-only=json-v1"], capture_output=True, text=True)
        if listing.returncode != 0:
            sys.exit("the front end's tests cannot be listed: " + listing.stderr)
        tests = json.loads(listing.stdout).get("tests", [])
        if not tests:
            sys.exit("the scratch copy has no front-end tests; is Qt 6 installed?")
        for entry in tests:
            # Before the first build ctest may not know a test's program yet:
            # the front end's test programs are named as their tests.
            program = Path(entry["command"][0]).name if "command" in entry else entry["name"]
            if program not in self.targets:
                self.targets.append(program)
        if not self.rebuild(log):
            sys.exit(f"the front end's scratch copy does not build; see {log}")
        if show_faults is not None:
            for fault in show_faults:
                if fault.shown_by and fault.shown_by not in self.baselines:
                    self.baselines[fault.shown_by] = self.shown(fault, "baseline")
            return
        if self.test(log) != "survived":
            sys.exit(f"the front end's tests fail without any fault; see {log}")

    def rebuild(self, log, targets=None):
        return run(["cmake", "--build", self.build, "-j", self.jobs, "--target", *(targets or self.targets)],
                   log) == 0

    def test(self, log):
        """"killed: TEST", "killed: time limit" or "survived"."""
        status = run(["ctest", "--test-dir", self.build, "-R", FRONTEND_TESTS, "-j", self.jobs,
                      "--output-on-failure", "--stop-on-failure", "--timeout", str(int(self.time_limit))],
                     log, time_limit=self.time_limit, env=self.env)
        if status is None:
            return "killed: time limit"
        if status != 0:
            return "killed: " + frontend_failure(log)
        return "survived"

    def shown(self, fault, name):
        """What the fault's command does in an empty folder: its output and
        exit status, the names of the files it leaves and the contents of
        those that are text (a PDF and the lock file hold dates and process
        numbers, so only their names count)."""
        folder = self.scratch / "show" / fault.ident
        shutil.rmtree(folder, ignore_errors=True)
        folder.mkdir(parents=True)
        log = self.logs / f"{fault.ident}.{name}.txt"
        log.write_text("")
        env = dict(os.environ, PATH=os.pathsep.join([str(self.build / "bin"), str(ROOT / "scripts"),
                                                     os.environ.get("PATH", "")]))
        env.pop("QT_QPA_PLATFORM", None)
        status = run(["bash", "-c", fault.shown_by], log, time_limit=self.time_limit, cwd=folder, env=env)
        files = []
        for path in sorted(folder.rglob("*")):
            if path.is_file():
                text = "" if path.suffix in (".pdf", ".lock") else path.read_text(errors="replace")
                files.append(f"{path.relative_to(folder)}\n{text}")
        return (Path(log).read_text(errors="replace").split("\n", 1)[-1], status, files)

    def try_fault(self, fault, show=False):
        """Puts the fault in, builds and tests (or runs its command), and
        takes it out again."""
        path = self.source / fault.path
        # With --show a fault under engine/ is shown through the same programs.
        if not fault.path.startswith(("frontend/", "engine/") if show else "frontend/") or not path.is_file():
            return "error: no such file under frontend/"
        if show and not fault.shown_by:
            return "error: no \"shown by\" command"

        def body(log):
            if not self.rebuild(log, FRONTEND_PROGRAMS if show else None):
                return "error: does not build"
            if show:
                before = self.baselines[fault.shown_by]
                after = self.shown(fault, "show")
                (self.logs / f"{fault.ident}.show.txt").write_text(
                    "without the fault (exit %s):\n%s\nwith the fault (exit %s):\n%s\n" %
                    (before[1], before[0], after[1], after[0]))
                return "shown" if after != before else "not shown"
            return self.test(log)

        return with_fault(path, fault, self.logs, body)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--list", default=str(ROOT / "scripts" / "mutants.txt"), help="the list of faults")
    parser.add_argument("--only", default="", help="comma-separated IDs of the faults to try")
    parser.add_argument("--tests-from", default="", help="take tests/ from this git revision")
    parser.add_argument("--time-limit", type=float, default=120, help="seconds for the tests of one mutant")
    parser.add_argument("--scratch", default=str(ROOT / "build-mutants"), help="folder of the scratch copy")
    parser.add_argument("--jobs", type=int, default=2, help="parallel jobs of the build")
    parser.add_argument("--check", action="store_true",
                        help="only check that every fault's text stands once in its file")
    parser.add_argument("--show", action="store_true",
                        help="run each front-end fault's \"shown by\" with and without it instead of the tests")
    args = parser.parse_args()

    faults, errors = read_faults(Path(args.list))
    if errors:
        sys.exit("\n".join(errors))
    if args.only:
        wanted = set(args.only.split(","))
        unknown = wanted - {f.ident for f in faults}
        if unknown:
            sys.exit("no such fault: " + ", ".join(sorted(unknown)))
        faults = [f for f in faults if f.ident in wanted]

    if args.check:
        stale = []
        for fault in faults:
            path = ROOT / fault.path
            count = path.read_text().count(fault.old_text) if path.is_file() else 0
            if count != 1 or not fault.path.startswith(("engine/", "frontend/")):
                stale.append(f"{fault.ident}: the text stands {count} times in {fault.path}")
        print("\n".join(stale) if stale else f"{len(faults)} faults, every text in place")
        return 1 if stale else 0

    frontend = [f for f in faults if f.path.startswith("frontend/")]
    if args.show:
        # A fault under engine/ whose "shown by" runs a program of the front end
        # (the exact factoriser's, linked into pfac) is shown through it too.
        shown = [f for f in faults if f.path.startswith("frontend/") or
                 (f.path.startswith("engine/") and f.shown_by.split()[:1] and f.shown_by.split()[0] in FRONTEND_PROGRAMS)]
        campaign = FrontendCampaign(args)
        campaign.prepare(args.tests_from, show_faults=shown)
        width = max([len(f.ident) for f in shown] or [1])
        for fault in shown:
            print(f"{fault.ident:<{width}}  {fault.path:<40}  {campaign.try_fault(fault, show=True)}", flush=True)
        return 0
    campaigns = {}
    if len(frontend) < len(faults):
        campaigns["engine/"] = Campaign(args)
        campaigns["engine/"].prepare(args.tests_from)
    if frontend:
        campaigns["frontend/"] = FrontendCampaign(args)
        campaigns["frontend/"].prepare(args.tests_from)
    width = max(len(f.ident) for f in faults)
    results = []
    for fault in faults:
        campaign = campaigns["frontend/" if fault.path.startswith("frontend/") else "engine/"]
        outcome = campaign.try_fault(fault)
        results.append((fault, outcome))
        if fault.equivalent:
            shown = "equivalent: " + fault.equivalent if outcome == "survived" else \
                outcome + "  (marked equivalent: " + fault.equivalent + ")"
        else:
            shown = outcome
        print(f"{fault.ident:<{width}}  {fault.path:<34}  {shown}", flush=True)

    counted = [(f, o) for f, o in results if not f.equivalent and not o.startswith("error")]
    killed = [f for f, o in counted if o.startswith("killed")]
    survivors = [f.ident for f, o in counted if o == "survived"]
    broken = [f.ident for f, o in results if o.startswith("error")]
    equivalent = sum(1 for f, o in results if f.equivalent)
    print()
    print(f"faults: {len(results)}, equivalent: {equivalent}, errors in the list: {len(broken)}")
    if counted:
        print(f"score: {len(killed)} of {len(counted)} killed, {100.0 * len(killed) / len(counted):.1f} %")
    if survivors:
        print("survived: " + ", ".join(survivors))
        print()
        print("the survivors and the input that shows each:")
        for fault, outcome in counted:
            if outcome == "survived":
                print(f"{fault.ident:<{width}}  {fault.path:<34}  {fault.shown_by or '(no input given)'}")
    if broken:
        print("errors: " + ", ".join(broken))
    return 1 if broken else 0


if __name__ == "__main__":
    os.nice(10)
    sys.exit(main())
