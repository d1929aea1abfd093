#!/usr/bin/env bash
# Checks that every #include points down the layers of the library:
#   base -> platform -> {dom, location} -> storage -> engine -> folders -> facade
# and tools/ above them all, seeing only the public headers.
# (records and testing stand beside them). A folder under src/ may include its own headers, the
# headers of lower layers, and the public headers its layer is allowed; a folder family under
# src/folders/ never includes another family. Public headers include only public headers, and
# only src/dom includes or uses pugixml.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A rank=([base]=0 [platform]=1 [dom]=2 [location]=2 [storage]=3 [engine]=4 [folders]=5
                 [facade]=6 [records]=1 [testing]=2)
# Public headers a low layer may use; layers from storage up may use every public header.
declare -A public=(
  [base]=''
  [platform]='env.h network_services.h errors.h'
  [dom]='env.h errors.h'
  [location]='location.h network_services.h env.h errors.h'
  [records]='cached_records.h document_records.h outbox_records.h'
  [testing]='env.h network_services.h testing/fake_network_services.h testing/fault_env.h'
)

failures=0
fail() {
  echo "layer violation: $1" >&2
  failures=$((failures + 1))
}

while IFS= read -r file; do
  layer=${file#src/}
  layer=${layer%%/*}
  [ -n "${rank[$layer]+set}" ] || { fail "$file: src/$layer is not a known layer"; continue; }
  family=""
  if [ "$layer" = folders ]; then
    family=${file#src/folders/}
    family=${family%%/*}
  fi
  while IFS= read -r target; do
    top=${target%%/*}
    if [ "$top" = foldwise ]; then
      name=${target#foldwise/}
      if [ -n "${public[$layer]+set}" ] && [[ " ${public[$layer]} " != *" $name "* ]]; then
        fail "$file includes $target, a public header above $layer"
      fi
      continue
    fi
    [ "$target" != "${target#*/}" ] || continue  # a header beside the file
    [ -n "${rank[$top]+set}" ] || { fail "$file includes $target from no known layer"; continue; }
    if [ "$top" = folders ] && [ -n "$family" ]; then
      other=${target#folders/}
      other=${other%%/*}
      [ "$other" = "$family" ] || fail "$file includes $target of another folder family"
      continue
    fi
    if [ "$top" != "$layer" ] && [ "${rank[$top]}" -ge "${rank[$layer]}" ]; then
      fail "$file ($layer) includes $target ($top), which is not below it"
    fi
  done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(git ls-files 'src/*.h' 'src/*.cc')

while IFS= read -r file; do
  if grep -n '^#include "' "$file" | grep -v '#include "foldwise/' >/dev/null; then
    fail "$file includes a header that is not public"
  fi
done < <(git ls-files 'include/*.h')

# The command-line tool is a host like any other: public headers and its own headers only.
while IFS= read -r file; do
  while IFS= read -r target; do
    case "$target" in
      foldwise/*) ;;
      */*) fail "$file includes $target, which is not a public header" ;;
    esac
  done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(git ls-files 'tools/*.h' 'tools/*.cc')

while IFS= read -r file; do
  case "$file" in
    src/dom/*) ;;
    *) fail "$file includes pugixml outside src/dom" ;;
  esac
done < <(git grep -l '#include <pugixml' -- 'src/*' 'include/*' 'tools/*' || true)

# Nor does anything above it reach pugixml through the DOM: no pugi:: names, no raw node.
while IFS= read -r hit; do
  case "$hit" in
    src/dom/*) ;;
    *) fail "$hit: pugixml used outside src/dom" ;;
  esac
done < <(git grep -nE 'pugi::|\.raw\(\)|->raw\(\)' -- 'src/*' 'include/*' 'tools/*' || true)

if [ "$failures" -ne 0 ]; then
  echo "$failures layer violation(s)" >&2
  exit 1
fi
echo "layers: ok"
