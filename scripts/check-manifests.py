#!/usr/bin/env python3
"""Checks the package managers' manifests that the build wrote into build/windows.

check-manifests.py <build folder> <schema folder>: the winget manifests against the winget 1.10.0
schemas and the Scoop manifest against Scoop's, and every hash in them against the file it names.
"""
import hashlib
import json
import pathlib
import sys

import jsonschema
import yaml

build, schemas = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
failures = []


def sha256(name):
    return hashlib.sha256((build / name).read_bytes()).hexdigest()


def validate(manifest, document, schema):
    errors = list(jsonschema.Draft7Validator(json.loads(schema.read_text())).iter_errors(document))
    for error in errors:
        failures.append(f"{manifest.name}: {'/'.join(map(str, error.path))}: {error.message}")
    return not errors


winget = schemas / "winget-1.10.0"
kinds = {"version": "version", "installer": "installer", "defaultLocale": "defaultLocale"}
seen = set()
for manifest in sorted((build / "winget").glob("*.yaml")):
    document = yaml.safe_load(manifest.read_text())
    kind = document.get("ManifestType")
    seen.add(kind)
    if kind not in kinds:
        failures.append(f"{manifest.name}: unknown ManifestType {kind!r}")
        continue
    validate(manifest, document, winget / f"manifest.{kinds[kind]}.1.10.0.json")
    for installer in document.get("Installers", []):
        name = installer["InstallerUrl"].rsplit("/", 1)[-1]
        if installer["InstallerSha256"].lower() != sha256(name):
            failures.append(f"{manifest.name}: the hash of {name} is not the file's")
if seen != set(kinds):
    failures.append(f"winget: manifests {sorted(seen)}, expected {sorted(kinds)}")

scoop = build / "scoop" / "deskbroom.json"
document = json.loads(scoop.read_text())
validate(scoop, document, schemas / "scoop" / "schema.json")
package = document["architecture"]["64bit"]
if package["hash"].lower() != sha256(package["url"].rsplit("/", 1)[-1]):
    failures.append(f"{scoop.name}: the hash of the ZIP is not the file's")

for failure in failures:
    print("BAD  ", failure)
sys.exit(1 if failures else 0)
