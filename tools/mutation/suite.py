"""The normal suite's tests, run one by one the way ctest runs them.

The list comes from ctest itself (every test outside the label "extended",
with its command, folder, environment and time bound). A test fails when it
exits with a status other than 0 (unless its output matches its skip
expression) or outlives its time bound, as under ctest.
"""

import dataclasses
import json
import os
import re
import signal
import subprocess
import time

DEFAULT_TEST_TIMEOUT = 60


@dataclasses.dataclass
class Test:
    name: str
    command: list
    cwd: str
    env: dict
    timeout: float
    skip: list
    binary: str  # below the build folder, e.g. bin/pages_tests; "" when not a built binary
    seconds: float = 1.0  # how long the unmutated run took
    uses: set = dataclasses.field(default_factory=set)  # the binaries it runs or reads


def list_tests(build):
    text = subprocess.run(["ctest", "--test-dir", str(build), "-LE", "extended", "--show-only=json-v1"],
                          check=True, capture_output=True, text=True).stdout
    tests = []
    for entry in json.loads(text)["tests"]:
        props = {p["name"]: p["value"] for p in entry.get("properties", [])}
        command = entry["command"]
        binary = os.path.relpath(command[0], build) if command[0].startswith(str(build) + "/") else ""
        env = dict(v.split("=", 1) for v in props.get("ENVIRONMENT", []))
        tests.append(Test(entry["name"], command, props.get("WORKING_DIRECTORY", str(build)), env,
                          float(props.get("TIMEOUT", DEFAULT_TEST_TIMEOUT)), props.get("SKIP_REGULAR_EXPRESSION", []),
                          binary))
    return tests


def run_test(test, limit, trace=None):
    """(passed, seconds, 'timeout' when it outlived its bound or `limit`).
    With `trace` (a folder), the dynamic loader of the test and of every
    program it starts writes there which programs and libraries it loaded."""
    started = time.monotonic()
    env = {**os.environ, **test.env}
    if trace:
        env.update(LD_DEBUG="files", LD_DEBUG_OUTPUT=os.path.join(trace, "ld"))
    bound = min(test.timeout, max(1.0, limit))
    # A session of its own, so a test that runs out of time is ended with
    # every program it started.
    process = subprocess.Popen(test.command, cwd=test.cwd, env=env,
                               stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                               start_new_session=True)
    try:
        output, _ = process.communicate(timeout=bound)
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.communicate()
        return False, time.monotonic() - started, "timeout"
    finally:
        # Programs the test left behind must not outlive it either.
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
    seconds = time.monotonic() - started
    if process.returncode == 0:
        return True, seconds, ""
    if any(re.search(pattern, output.decode(errors="replace")) for pattern in test.skip):
        return True, seconds, ""
    return False, seconds, ""
