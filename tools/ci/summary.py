#!/usr/bin/env python3
"""Adds up what the test command's runs found, from the JUnit files ctest wrote, prints a line a
run and then the one line CI reads: "quorvin: N passed, N failed, N skipped".
Usage: summary.py RUN=JUNIT_FILE...  A run without its file did not build or did not get to its
tests: it counts as one failure. A skipped test that says why on its first line ("skipped:
REASON") has its reason shown beside its run's counts, once however many tests give it."""
import sys
import xml.etree.ElementTree as ElementTree


def counts(path):
    root = ElementTree.parse(path).getroot()
    suites = [root] if root.tag == "testsuite" else list(root.iter("testsuite"))
    total = sum(int(s.get("tests", 0)) for s in suites)
    failed = sum(int(s.get("failures", 0)) + int(s.get("errors", 0)) for s in suites)
    skipped = sum(int(s.get("skipped", 0)) + int(s.get("disabled", 0)) for s in suites)
    reasons = []
    for case in root.iter("testcase"):
        if case.find("skipped") is None:
            continue
        output = (case.findtext("system-out") or "").strip().splitlines()
        if output and output[0].startswith("skipped: "):
            reason = output[0][len("skipped: "):].strip()
            if reason and reason not in reasons:
                reasons.append(reason)
    return total - failed - skipped, failed, skipped, reasons


def main():
    passed = failed = skipped = 0
    for argument in sys.argv[1:]:
        run, _, path = argument.partition("=")
        try:
            run_passed, run_failed, run_skipped, reasons = counts(path)
        except (OSError, ElementTree.ParseError):
            print(f"{run}: no test results: it did not build, or its tests did not run")
            failed += 1
            continue
        why = f" ({'; '.join(reasons)})" if reasons else ""
        print(f"{run}: {run_passed} passed, {run_failed} failed, {run_skipped} skipped{why}")
        passed += run_passed
        failed += run_failed
        skipped += run_skipped
    print(f"quorvin: {passed} passed, {failed} failed, {skipped} skipped")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
