#!/usr/bin/env python3
"""Checks a SARIF log against the members and types that SARIF 2.1.0
requires of the objects vek writes (sarifLog, run, tool, toolComponent,
reportingDescriptor, result, message, location, physicalLocation,
artifactLocation, region), then prints a few figures for the caller.

    check_sarif.py LOG [EXPECTED_RESULTS]
"""
import json
import re
import sys

errors = []


def need(cond, where, what):
    if not cond:
        errors.append(f"{where}: {what}")


def is_int(v):
    return isinstance(v, int) and not isinstance(v, bool)


def check_message(m, where):
    need(isinstance(m, dict), where, "message is an object")
    if isinstance(m, dict):
        need(isinstance(m.get("text"), str) or isinstance(m.get("id"), str),
             where, "message has text or id")


def check_multiformat(m, where):
    need(isinstance(m, dict) and isinstance(m.get("text"), str), where,
         "multiformatMessageString with a text string")


def check_artifact_location(a, where):
    need(isinstance(a, dict), where, "artifactLocation is an object")
    if not isinstance(a, dict):
        return
    uri = a.get("uri")
    need(isinstance(uri, str), where, "uri is a string")
    if isinstance(uri, str):
        # RFC 3986 characters only: anything else must be percent-encoded.
        need(re.fullmatch(r"[A-Za-z0-9\-._~:/?#\[\]@!$&'()*+,;=%]*", uri),
             where, f"uri holds only URI characters: {uri!r}")
        need(not re.search(r"%(?![0-9A-F]{2})", uri), where,
             f"percent signs start escapes: {uri!r}")
        if "uriBaseId" in a:
            need(not uri.startswith("/") and "://" not in uri, where,
                 "a uri with a base id is relative")
        else:
            need(uri.startswith("file://"), where,
                 "a uri without a base id is absolute")
    if "uriBaseId" in a:
        need(isinstance(a["uriBaseId"], str), where, "uriBaseId is a string")


def check_region(r, where):
    need(isinstance(r, dict), where, "region is an object")
    if isinstance(r, dict):
        need(is_int(r.get("startLine")) and r["startLine"] >= 1, where,
             "startLine is an integer >= 1")


def main():
    with open(sys.argv[1], "rb") as f:
        raw = f.read()
    log = json.loads(raw.decode("utf-8"))  # strict: must be valid UTF-8
    need(isinstance(log, dict), "log", "is an object")
    need(log.get("version") == "2.1.0", "log", "version is 2.1.0")
    need(isinstance(log.get("$schema"), str) and "2.1.0" in log["$schema"],
         "log", "$schema names 2.1.0")
    runs = log.get("runs")
    need(isinstance(runs, list) and len(runs) == 1, "log", "one run")
    run = runs[0]
    tool = run.get("tool")
    need(isinstance(tool, dict), "run", "tool is an object")
    driver = tool.get("driver")
    need(isinstance(driver, dict), "tool", "driver is an object")
    need(driver.get("name") == "vek", "driver", "name is vek")
    need(isinstance(driver.get("version"), str), "driver", "version string")
    rules = driver.get("rules", [])
    need(isinstance(rules, list), "driver", "rules is an array")
    ids = []
    for i, rule in enumerate(rules):
        where = f"rules[{i}]"
        need(isinstance(rule, dict), where, "is an object")
        need(isinstance(rule.get("id"), str) and
             re.fullmatch(r"VEK\d{3,}", rule["id"]), where, "id VEKnnn")
        ids.append(rule.get("id"))
        check_multiformat(rule.get("shortDescription"), where + ".short")
        check_multiformat(rule.get("fullDescription"), where + ".full")
    need(len(ids) == len(set(ids)), "rules", "ids are unique")
    for base, value in run.get("originalUriBaseIds", {}).items():
        need(isinstance(value, dict) and isinstance(value.get("uri"), str) and
             value["uri"].endswith("/"), "originalUriBaseIds",
             f"{base} is a folder URI")
    results = run.get("results")
    need(isinstance(results, list), "run", "results is an array")
    keys = []
    prints = set()
    for i, r in enumerate(results):
        where = f"results[{i}]"
        need(isinstance(r, dict), where, "is an object")
        check_message(r.get("message"), where)
        need(r.get("level") == "warning", where, "level warning")
        idx = r.get("ruleIndex")
        need(is_int(idx) and 0 <= idx < len(rules), where, "ruleIndex in range")
        if is_int(idx) and 0 <= idx < len(rules):
            need(rules[idx]["id"] == r.get("ruleId"), where,
                 "ruleIndex names the rule of ruleId")
        locs = r.get("locations")
        need(isinstance(locs, list) and len(locs) == 1, where, "one location")
        phys = locs[0].get("physicalLocation", {})
        check_artifact_location(phys.get("artifactLocation"), where)
        if "region" in phys:
            check_region(phys["region"], where)
        fp = r.get("partialFingerprints", {})
        need(isinstance(fp, dict) and fp and
             all(isinstance(v, str) for v in fp.values()), where,
             "partialFingerprints of strings")
        prints.add(tuple(sorted(fp.items())))
        keys.append((phys.get("artifactLocation", {}).get("uri", ""),
                     phys.get("region", {}).get("startLine", 0),
                     int(r.get("ruleId", "VEK0")[3:])))
    need(keys == sorted(keys), "results", "ordered by file, line, number")
    need(len(prints) == len(results), "results", "fingerprints are unique")
    if len(sys.argv) > 2:
        need(len(results) == int(sys.argv[2]), "results",
             f"{len(results)} results, expected {sys.argv[2]}")
    if errors:
        for e in errors[:40]:
            print("SARIF error:", e)
        sys.exit(1)
    print(f"results={len(results)} rules={len(rules)}")


main()
