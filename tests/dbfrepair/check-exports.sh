#!/bin/sh
# Checks that a host library exports exactly one name, the dispatch entry.
set -e
# usage: check-exports.sh OBJDUMP LIBRARY
names=$("$1" -p "$2" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p')
echo "$2 exports: $names"
[ "$names" = "@DispatchAPI@4" ]
