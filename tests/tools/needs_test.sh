#!/usr/bin/env bash
# tools/needs against stand-in dpkg, apt-get, sudo and id programs that
# record their calls. Usage: needs_test.sh PATH/TO/tools/needs
set -uo pipefail
needs=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# The stand-ins. dpkg knows the packages listed in $work/installed; id says
# $FAKE_UID; sudo -n works when $FAKE_SUDO is "yes".
mkdir -p "$work/bin"
cat >"$work/bin/dpkg" <<'EOF'
#!/usr/bin/env bash
[ "$1" = -s ] && grep -qx "$2" "$WORK/installed" && { echo "Package: $2"; echo "Status: install ok installed"; exit 0; }
echo "dpkg-query: package '$2' is not installed" >&2; exit 1
EOF
cat >"$work/bin/apt-get" <<'EOF'
#!/usr/bin/env bash
echo "apt-get $* [DEBIAN_FRONTEND=${DEBIAN_FRONTEND:-}]" >>"$WORK/calls"
EOF
cat >"$work/bin/sudo" <<'EOF'
#!/usr/bin/env bash
echo "sudo $*" >>"$WORK/calls"
[ "$FAKE_SUDO" = yes ] || exit 1
shift; "$@"
EOF
cat >"$work/bin/id" <<'EOF'
#!/usr/bin/env bash
echo "$FAKE_UID"
EOF
for tool in node npm; do printf '#!/bin/sh\n' >"$work/bin/$tool"; done
chmod +x "$work"/bin/*
# Nothing else of this machine is on PATH but the few programs they use, so
# the machine's own node, npm or sudo never answer.
mkdir -p "$work/sys"
for tool in bash env grep cat; do ln -s "$(command -v $tool)" "$work/sys/$tool"; done

# run NAME UID SUDO INSTALLED PURPOSES...: runs the script, keeps its exit
# status, output and the stand-ins' calls.
run() {
  local uid=$1 sudo=$2 installed=$3; shift 3
  printf '%s\n' $installed >"$work/installed"
  : >"$work/calls"
  WORK=$work FAKE_UID=$uid FAKE_SUDO=$sudo PATH="$work/bin:$work/sys" \
    "$needs" "$@" >"$work/out" 2>"$work/err"
  status=$?
}

expect() {  # expect WHAT ACTUAL WANTED
  if [ "$2" != "$3" ]; then
    echo "FAIL $1"; echo "  got:    $(printf '%q' "$2")"; echo "  wanted: $(printf '%q' "$3")"
    failures=$((failures + 1))
  else
    echo "ok   $1"
  fi
}

all_clang="cmake ninja-build g++ libsqlite3-dev libpq-dev clang libclang-rt-14-dev"

run 0 no "$all_clang" build clang
expect "nothing missing: exit 0" "$status" 0
expect "nothing missing: no call" "$(cat "$work/calls")" ""

run 0 no "cmake ninja-build g++" build clang
expect "missing as root: exit 0" "$status" 0
expect "missing as root: update once, then exactly the missing" "$(cat "$work/calls")" \
"apt-get update -q [DEBIAN_FRONTEND=noninteractive]
apt-get install -y -q libsqlite3-dev libpq-dev clang libclang-rt-14-dev [DEBIAN_FRONTEND=noninteractive]"

run 1000 yes "$all_clang" build
expect "not root, nothing missing: sudo not asked" "$(cat "$work/calls")" ""

run 1000 yes "cmake ninja-build g++" build
expect "sudo without a password: used for both steps" "$(cat "$work/calls")" \
"sudo -n true
sudo -n env DEBIAN_FRONTEND=noninteractive apt-get update -q
apt-get update -q [DEBIAN_FRONTEND=noninteractive]
sudo -n env DEBIAN_FRONTEND=noninteractive apt-get install -y -q libsqlite3-dev libpq-dev
apt-get install -y -q libsqlite3-dev libpq-dev [DEBIAN_FRONTEND=noninteractive]"

run 1000 no "cmake ninja-build g++" build clang
expect "not root, no sudo: exit 1" "$status" 1
expect "not root, no sudo: nothing run but the sudo probe" "$(cat "$work/calls")" "sudo -n true"
expect "not root, no sudo: the one command printed" "$(cat "$work/out")" \
  "apt-get install -y libsqlite3-dev libpq-dev clang libclang-rt-14-dev"
expect "not root, no sudo: a one-line reason" "$(wc -l <"$work/err")" 1

# node and npm are on PATH here: their packages are never asked for, so a
# Node.js that brings its own npm is kept.
run 1000 no "chromium" browser
expect "browser with node and npm present: nothing missing" "$status" 0
rm "$work/bin/npm"
run 1000 no "chromium nodejs" browser
expect "browser without an npm command: npm asked for" "$(cat "$work/out")" "apt-get install -y npm"

run 0 no "" nonsense
expect "unknown purpose: exit 2" "$status" 2

[ $failures -eq 0 ] || { echo "$failures failed"; exit 1; }
