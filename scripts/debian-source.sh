# Shared by the scripts that build libraries from Debian's own source packages, once, into a
# cache outside the repository (web/sdl, windows/sdl); sourced, not run. The caller sets
# `cache` (the folder), `key_text` (what names the build: its recipe and its compiler, so that
# a change to either builds afresh) and `tag` (its name in messages), then calls:
#   build_once           prints the cached prefix and exits when it is complete; otherwise waits
#                        for any other build of the same key, and sets prefix, work, log, stage
#   fetch_source PKG...  unpacks those source packages into $work
#   source_dir PKG       prints the folder that PKG unpacked into
#   fail MESSAGE         shows the end of the log and exits 1
#   publish              moves $stage to $prefix in one step and prints the prefix
# shellcheck shell=bash

say() { echo "$tag: $*" >&2; }
fail() { [ -f "${log:-}" ] && tail -n 30 "$log" >&2; say "$*; the whole log is ${log:-}"; exit 1; }

build_once() {
  local key
  key=$(printf '%s' "$key_text" | sha256sum | cut -c1-16)
  prefix=$cache/sdl-$key
  if [ -f "$prefix/.complete" ]; then echo "$prefix"; exit 0; fi
  # One build at a time; a second caller waits and then finds the first one's result.
  mkdir -p "$cache"
  exec 9>"$cache/sdl-$key.lock"
  flock 9
  if [ -f "$prefix/.complete" ]; then echo "$prefix"; exit 0; fi
  work=$cache/work-$key
  rm -rf "$work" "$prefix"
  mkdir -p "$work"
  log=$work/build.log
  stage=$work/prefix
}

# Fetched with a private apt state: the machine's own sources stay as they are. The archive is
# the one this machine installs its binary packages from.
fetch_source() {
  local codename archive apt_dir keyring signed=""
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  archive=$(apt-get --print-uris download base-files 2>/dev/null | sed -n "s|^'\(.*\)/pool/.*|\1|p" | head -n 1)
  [ -n "$archive" ] || { say "apt knows no archive to fetch sources from (run apt-get update)"; exit 1; }
  apt_dir=$work/apt
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
  keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  [ -f "$keyring" ] && signed="[signed-by=$keyring] "
  echo "deb-src $signed$archive $codename main" >"$apt_dir/sources.list"
  local apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/none"
                  -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
                  -o "APT::Sandbox::User=root" -q)
  say "fetching the sources of $*"
  (
    cd "$work"
    apt-get "${apt_opts[@]}" update
    apt-get "${apt_opts[@]}" source "$@"
  ) >>"$log" 2>&1 || fail "fetching the sources failed"
  local p
  for p in "$@"; do [ -n "$(source_dir "$p")" ] || fail "the sources of $p did not unpack"; done
}

# A source package unpacks into PKG-VERSION, and a version starts with a digit.
source_dir() { find "$work" -maxdepth 1 -type d -name "$1-[0-9]*" | head -n 1; }

publish() {
  # Only a complete build is ever published, so an interrupted one never looks complete.
  (cd "$work" && find . -maxdepth 1 -type d -name '*-[0-9]*' -printf '%f\n') >"$stage/.complete"
  mv "$stage" "$prefix"
  rm -rf "$work"
  say "cached in $prefix"
  echo "$prefix"
}
