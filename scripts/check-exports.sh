#!/usr/bin/env bash
# Checks the dynamic symbol table of a shared libfoldwise: every symbol it exports belongs to
# namespace Foldwise, or is a standard-library template instance or type information the host API
# needs; nothing comes from pugixml or from the library's internals.
#   scripts/check-exports.sh build-shared/libfoldwise.so
set -euo pipefail
library=${1:?usage: check-exports.sh path/to/libfoldwise.so}

symbols=$(nm -D --defined-only "$library" | awk '{ print $NF }')
[ -n "$symbols" ] || { echo "exports: $library exports nothing" >&2; exit 1; }

failures=0
# Allowed scopes, on the mangled names: Foldwise members and functions (also their type
# information, vtables, thunks, guard variables and local statics), and std / __gnu_cxx
# template instances the compiler emits as weak symbols.
scope='^_Z(T[ISV]|Th[n0-9]+_|Tv[n0-9]+_[n0-9]+_|GV|Z)*N?[KVR]*(8Foldwise|St|9__gnu_cxx)'
while IFS= read -r symbol; do
  case "$symbol" in
    _init | _fini | _edata | _end | __bss_start) continue ;;
  esac
  if ! [[ "$symbol" =~ $scope ]]; then
    echo "exports: outside namespace Foldwise: $symbol ($(echo "$symbol" | c++filt))" >&2
    failures=$((failures + 1))
  fi
done <<<"$symbols"

# Names of the implementation that must never reach a host, in any exported signature.
internal='pugi|Dom(Node|Document|Element)|XmlDocumentFile|ItemFile|FolderFile|RecordCursor|TypedCursor|_internal::|path_text::|::Files::|DocumentCache'
while IFS= read -r name; do
  echo "exports: internal name: $name" >&2
  failures=$((failures + 1))
done < <(echo "$symbols" | c++filt | grep -E "$internal" || true)

if [ "$failures" -ne 0 ]; then
  echo "$failures unexpected export(s) in $library" >&2
  exit 1
fi
echo "exports: ok ($(echo "$symbols" | wc -l) symbols)"
