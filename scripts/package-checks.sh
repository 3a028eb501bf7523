#!/usr/bin/env bash
# The source package's checks on a bare Debian, as root in the tree (scripts/fresh-debian.sh runs it
# there: scripts/fresh-debian.sh trixie scripts/package-checks.sh). It installs the Build-Depends and
# nothing else, builds the binary package from the source alone as a user other than root, has
# lintian judge it showing its pedantic and informational tags, runs the package's autopkgtest against
# the built package, and checks that two builds are the same to the byte. Each step prints how long
# it took; any error or warning from lintian fails.
set -euo pipefail
cd "$(dirname "$0")/.."
[[ $(id -u) -eq 0 ]] || { echo "run as root on a Debian made for it (scripts/fresh-debian.sh)" >&2; exit 1; }
export DEBIAN_FRONTEND=noninteractive

timed() {
    local what=$1 started=$SECONDS
    shift
    echo "== $what"
    "$@"
    echo "== $what took $(( SECONDS - started )) s"
}

timed "the Build-Depends" bash -c 'apt-get update -qq && apt-get install -y -qq --no-install-recommends dpkg-dev >/dev/null \
    && apt-get build-dep -y -qq --no-install-recommends ./ >/dev/null'

# The build, as a user of its own, in a copy the user owns.
id builder >/dev/null 2>&1 || useradd --create-home builder
rm -rf /home/builder/kestrigan /home/builder/kestrigan_* /home/builder/source
cp -a . /home/builder/kestrigan
# The tree as it came, for the source package and the reproducibility check.
cp -a . /home/builder/source
chown -R builder: /home/builder/kestrigan /home/builder/source
timed "dpkg-buildpackage -us -uc -b as builder" \
    su builder -c 'cd ~/kestrigan && dpkg-buildpackage -us -uc -b >../build.log 2>&1 || { tail -n 60 ../build.log; exit 1; }'
changes=(/home/builder/kestrigan_*.changes)
timed "dpkg-source -b" su builder -c 'cd ~ && dpkg-source -b source >/dev/null'
sources=(/home/builder/kestrigan_*.dsc)

timed "lintian --pedantic --display-info" bash -c 'apt-get install -y -qq --no-install-recommends lintian >/dev/null \
    && su builder -c "cd ~ && lintian --pedantic --display-info --info --display-experimental --fail-on error,warning $0 $1 && echo lintian: no errors or warnings"' \
    "${sources[0]}" "${changes[0]}"

timed "autopkgtest on the built package" bash -c 'apt-get install -y -qq --no-install-recommends autopkgtest >/dev/null \
    && autopkgtest --output-dir /tmp/autopkgtest-out ./ /home/builder/kestrigan_*.deb -- null'

timed "two builds, byte for byte" su builder -c "cd ~/source && scripts/check-reproducible.sh"
