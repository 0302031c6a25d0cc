# Shared by the scripts that build the game's libraries for another system
# from Debian's own source packages (scripts/build-windows-deps,
# scripts/build-web-deps). Sourced, not run.
#
# The sourcing script sets, before it calls anything here:
#   prefix, scratch, jobs  where the libraries go, where they are built, how
#                          many compilers run at once
# and, before build_all:
#   libraries      the source packages in build order
#   built_against  (associative) the libraries each one is compiled against
#   build_<lib>    for each library (dashes become underscores): builds and
#                  installs it from the unpacked source $1, Debian version $2
#   recipe_inputs  prints, for the builder named by $1, everything besides the
#                  libraries it is compiled against that decides what it
#                  builds (functions, options, toolchain files)

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive

say() { echo "${0##*/}: $*"; }
die() { echo "${0##*/}: $*" >&2; exit 1; }

# --- Build tools --------------------------------------------------------------

# Whether apt's package lists were read anew in this run.
updated=no

# Installs those of the given Debian packages that are missing.
install_missing() {
  local missing=() p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -gt 0 ]; then
    say "installing ${missing[*]}"
    $sudo apt-get update -qq
    updated=yes
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# --- Debian source packages -----------------------------------------------------

# apt-get source needs a deb-src entry for the main archive. Copy the archive,
# suites and components of its binary entries, whichever file format they use.
# The archive is the site whose Release file says "Label: Debian" (security and
# third-party repositories say otherwise); before the first apt-get update only
# the address can tell.
src_list=/etc/apt/sources.list.d/moewenschuss-src.sources
index_field() {
  apt-get indextargets --format "\$($1)" "${@:2}" 2>/dev/null | sort -u || true
}
add_source_entry() {
  local site suites components
  site=$(index_field SITE 'Created-By: Packages' 'Label: Debian' | head -n1)
  if [ -z "$site" ]; then
    site=$(index_field SITE 'Created-By: Packages' | grep -E '/debian/?$' | head -n1 || true)
  fi
  [ -n "$site" ] || die "no Debian archive among the apt sources, so no deb-src entry can be made"
  if ! index_field SITE 'Created-By: Sources' | grep -qxF "$site"; then
    suites=$(index_field RELEASE 'Created-By: Packages' "Site: $site" | tr '\n' ' ')
    components=$(index_field COMPONENT 'Created-By: Packages' "Site: $site" | tr '\n' ' ')
    say "adding the source entry $src_list for $site (${suites% })"
    {
      echo "Types: deb-src"
      echo "URIs: $site"
      echo "Suites: ${suites% }"
      echo "Components: ${components% }"
      if [ -r /usr/share/keyrings/debian-archive-keyring.gpg ]; then
        echo "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg"
      fi
    } | $sudo tee "$src_list" >/dev/null
    $sudo apt-get update -qq
    updated=yes
  fi
  # An entry made by an earlier run is known to apt only after an update.
  if [ -z "$(source_version libsdl2)" ] && [ "$updated" = no ]; then
    $sudo apt-get update -qq
    updated=yes
  fi
}

# The newest version of a source package that apt knows (epoch included).
source_version() {
  local best="" v
  for v in $(apt-cache showsrc --only-source "$1" 2>/dev/null | sed -n 's/^Version: //p'); do
    if [ -z "$best" ] || dpkg --compare-versions "$v" gt "$best"; then
      best=$v
    fi
  done
  echo "$best"
}

# As root apt cannot drop to its _apt user for a download into this folder;
# say so instead of letting it warn about it for every package.
apt_source_opts=()
if [ "$(id -u)" -eq 0 ]; then
  apt_source_opts=(-o APT::Sandbox::User=root)
fi

# Downloads and unpacks (with Debian's patches) a source package; prints the
# folder it is in.
unpack() {
  local pkg=$1 version=$2 dir
  dir=$scratch/src/$pkg-${version#*:}
  mkdir -p "$scratch/downloads"
  (cd "$scratch/downloads" && apt-get source -qq --download-only "${apt_source_opts[@]}" "$pkg=$version") >&2
  rm -rf "$dir"
  mkdir -p "$scratch/src"
  # apt has checked the files against the signed archive index already.
  dpkg-source --no-check -x "$scratch/downloads/${pkg}_${version#*:}.dsc" "$dir" >/dev/null
  echo "$dir"
}

# --- Changes to the sources ---------------------------------------------------------

# Replaces text in a source file, and fails where the text is not there (a
# newer Debian version may have changed it), rather than build something else.
replace_in() {
  local file=$1 old=$2 new=$3
  grep -qF -- "$old" "$file" || { echo "text to replace not found in $file: $old" >&2; return 1; }
  OLD=$old NEW=$new perl -0pi -e 's/\Q$ENV{OLD}\E/$ENV{NEW}/g' "$file"
}

# These releases write their .pc file only for a shared library, but the game
# finds them through pkg-config; let the static build write it too.
pc_for_static_too() {
  local var=$2
  replace_in "$1/CMakeLists.txt" "if(${var}_BUILD_SHARED_LIBS)
        # Only create a .pc file" "if(TRUE)
        # Only create a .pc file"
}

# --- Builds -------------------------------------------------------------------

# Builds every library of $libraries that is not built yet from the newest
# Debian version with the current recipe, and writes build-times.txt with
# the heading $1. Prints what it did under the title $2.
build_all() {
  local heading=$1 title=$2 lib version builder recipe stamp secs start log status dep
  local report=() total_start=$SECONDS
  declare -gA identity=()

  mkdir -p "$prefix" "$scratch/logs"
  # Two runs at once would build into the same folders.
  exec 9>"$prefix/.lock"
  flock 9

  stamps=$prefix/.stamps
  mkdir -p "$stamps"
  for lib in "${libraries[@]}"; do
    version=$(source_version "$lib")
    [ -n "$version" ] || die "apt knows no source package $lib (is the deb-src entry in $src_list?)"
    builder=build_${lib//-/_}
    # A changed recipe (options, toolchain file, the libraries it is compiled
    # against) rebuilds as a new version would.
    recipe=$({
      recipe_inputs "$builder"
      for dep in ${built_against[$lib]:-}; do echo "${identity[$dep]}"; done
    } | sha256sum | cut -c1-16)
    identity[$lib]="$lib $version $recipe"
    stamp=$stamps/${lib}_${version//:/%}
    if [ -f "$stamp" ] && grep -qx "recipe=$recipe" "$stamp"; then
      secs=$(sed -n 's/^seconds=//p' "$stamp")
      say "$lib $version: already built (took ${secs}s), skipped"
      report+=("$(printf '%-14s %-26s %5ss' "$lib" "$version" "$secs")")
      continue
    fi
    say "$lib $version: building"
    rm -f "$stamps/${lib}_"*
    start=$SECONDS
    log=$scratch/logs/$lib.log
    # Not under "if": there bash would ignore set -e inside the build, and a
    # failed configure would go on to build and install.
    set +e
    (
      set -e
      src=$(unpack "$lib" "$version")
      "$builder" "$src" "$version"
    ) >"$log" 2>&1
    status=$?
    set -e
    if [ "$status" -ne 0 ]; then
      tail -n 40 "$log" >&2
      die "$lib $version failed; the whole log is $log"
    fi
    secs=$((SECONDS - start))
    # The downloads stay for a rebuild; the unpacked source (with the copies of
    # the upstream tarballs dpkg-source leaves beside it) and objects do not.
    rm -rf "$scratch/src" "$scratch/build/$lib"
    printf 'recipe=%s\nseconds=%s\n' "$recipe" "$secs" >"$stamp"
    say "$lib $version: built in ${secs}s"
    report+=("$(printf '%-14s %-26s %5ss' "$lib" "$version" "$secs")")
  done

  # The times of the last real build of each library, for the release notes.
  {
    echo "$heading"
    printf '%s\n' "${report[@]}"
  } >"$prefix/build-times.txt"

  echo
  echo "$title in $prefix (this run: $((SECONDS - total_start))s):"
  printf '  %s\n' "${report[@]}"
}
