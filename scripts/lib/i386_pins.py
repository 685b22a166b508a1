#!/usr/bin/env python3
"""Prints the amd64 packages to install at another version so that the i386
packages named on the command line (and all they depend on) can be installed
beside them: "NAME:amd64=VERSION", one a line.

Debian's i386 libraries are Multi-Arch: same, so each must have exactly the
version of its installed amd64 twin. The amd64 packages of a machine image
often come from a later (or earlier) point release than the i386 candidates;
each such twin is moved to the i386 candidate's version, and with it every
installed package built from the same source at the same version (a -dev
package, a tool) that pins it exactly."""

import re
import subprocess
import sys


def output(*command):
    return subprocess.run(command, capture_output=True, text=True).stdout


def i386_closure(packages):
    listing = output("apt-cache", "depends", "--recurse", "--no-recommends", "--no-suggests", "--no-conflicts",
                     "--no-breaks", "--no-replaces", "--no-enhances", *packages)
    return sorted({line[:-len(":i386")] for line in listing.splitlines()
                   if line.endswith(":i386") and not line.startswith((" ", "<"))})


def multi_arch_same(names):
    """The names among `names` whose i386 candidate is Multi-Arch: same."""
    text = output("apt-cache", "show", "--no-all-versions", *[f"{name}:i386" for name in names])
    return {re.search(r"^Package: (\S+)", record, flags=re.M).group(1)
            for record in text.split("\n\n") if re.search(r"^Multi-Arch: same$", record, flags=re.M)}


def installed_amd64():
    """name -> (version, source, architecture) of every installed amd64 or all package."""
    installed = {}
    listing = output("dpkg-query", "-W", "-f", "${Package} ${Architecture} ${Version} ${db:Status-Abbrev} ${source:Package}\n")
    for line in listing.splitlines():
        fields = line.split()
        if len(fields) == 5 and fields[3].startswith("ii") and fields[1] in ("amd64", "all"):
            installed[fields[0]] = (fields[2], fields[4], fields[1])
    return installed


def policies(names, arch):
    """name -> (candidate, [versions offered]) from apt-cache policy."""
    result = {}
    if not names:
        return result
    text = output("apt-cache", "policy", *[f"{name}:{arch}" for name in names])
    for block in re.split(r"^(?=\S)", text, flags=re.M):
        head = re.match(r"(\S+?)(?::\w+)?:\n", block)
        candidate = re.search(r"Candidate: (\S+)", block)
        if head and candidate:
            offered = re.findall(r"^\s+(?:\*\*\* )?(\S+) \d+\n", block, flags=re.M)
            result[head.group(1)] = (candidate.group(1), offered)
    return result


def main(packages):
    installed = installed_amd64()
    twins = sorted(multi_arch_same([name for name in i386_closure(packages)
                                    if installed.get(name, ("", "", ""))[2] == "amd64"]))
    pins = {}
    for name, (candidate, _) in policies(twins, "i386").items():
        version, source, _ = installed[name]
        if candidate != "(none)" and candidate != version:
            pins[name] = candidate
            for sibling, (sibling_version, sibling_source, _) in installed.items():
                if sibling_source == source and sibling_version == version:
                    pins.setdefault(sibling, candidate)
    offered = policies(sorted(pins), "amd64")
    for name, version in sorted(pins.items()):
        if version in offered.get(name, ("", []))[1]:
            qualifier = ":amd64" if installed[name][2] == "amd64" else ""
            print(f"{name}{qualifier}={version}")


if __name__ == "__main__":
    main(sys.argv[1:])
