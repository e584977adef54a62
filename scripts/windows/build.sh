#!/usr/bin/env bash
# hvr for 64-bit Windows, cross-built on this Debian machine from Debian's packages only:
#   build-windows/hvr-VERSION-win64/            the programs with Qt beside them (portable)
#   build-windows/hvr-VERSION-win64.zip         the same, zipped
#   build-windows/hvr-VERSION-win64-setup.exe   the installer
# Qt for Windows is built once from Debian's own sources of the installed Qt's version and kept
# in ~/.cache/hvr-windows (HVR_WINDOWS_CACHE); later runs reuse it.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
cache=${HVR_WINDOWS_CACHE:-$HOME/.cache/hvr-windows}
out=$root/build-windows
jobs=$(nproc)
export HVR_WINDOWS_PREFIX=$cache/prefix

log() { echo "windows: $*" >&2; }

# --- Qt for Windows, once ----------------------------------------------------------------
build_qt() {
  [ -f "$cache/qt/.complete" ] && return 0
  local qt_version sqlite_version pg_version
  qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
  sqlite_version=$(dpkg-query -W -f='${Version}' libsqlite3-dev)
  mkdir -p "$cache/src"
  log "Debian's sources of qt6-base $qt_version and sqlite3 $sqlite_version"
  (cd "$cache/src" && "$root/scripts/windows/sources.sh" "$cache" "qt6-base=$qt_version" "sqlite3=$sqlite_version")
  # PostgreSQL's client library from the newest postgresql-15 source whose files the archive
  # really holds (a version may be listed whose files are not there).
  pg_version=""
  for v in $("$root/scripts/windows/sources.sh" "$cache" --versions postgresql-15 2>/dev/null); do
    if (cd "$cache/src" && "$root/scripts/windows/sources.sh" "$cache" "postgresql-15=$v" >/dev/null 2>&1); then
      pg_version=$v
      break
    fi
  done
  [ -n "$pg_version" ] || { log "no source of postgresql-15 could be fetched"; exit 1; }
  log "Debian's source of postgresql-15 $pg_version"
  rm -rf "$cache/src/qtbase" "$cache/src/sqlite3" "$cache/src/sqlite-host" "$cache/src/postgresql"
  (cd "$cache/src" && dpkg-source -x "qt6-base_${qt_version#*:}.dsc" qtbase >/dev/null &&
     dpkg-source -x "sqlite3_${sqlite_version#*:}.dsc" sqlite3 >/dev/null &&
     dpkg-source -x "postgresql-15_${pg_version#*:}.dsc" postgresql >/dev/null)

  # SQLite, which Debian's Qt source leaves out: its one-file form, made from its own source,
  # compiled for Windows for the QSQLITE driver.
  log "SQLite for Windows"
  mkdir -p "$cache/src/sqlite-host" "$HVR_WINDOWS_PREFIX/lib" "$HVR_WINDOWS_PREFIX/include"
  (cd "$cache/src/sqlite-host" && ../sqlite3/configure >/dev/null && make sqlite3.c >/dev/null &&
     x86_64-w64-mingw32-gcc-posix -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_ENABLE_COLUMN_METADATA \
       -DSQLITE_OMIT_LOAD_EXTENSION -c sqlite3.c -o sqlite3.o &&
     x86_64-w64-mingw32-ar rcs "$HVR_WINDOWS_PREFIX/lib/libsqlite3.a" sqlite3.o &&
     cp sqlite3.h "$HVR_WINDOWS_PREFIX/include/")

  # libpq for Windows, for Qt's PostgreSQL driver: without SSL, Kerberos or LDAP, which would
  # each need a library built for Windows too.
  log "PostgreSQL's client library for Windows"
  (cd "$cache/src/postgresql" &&
     ./configure --host=x86_64-w64-mingw32 CC=x86_64-w64-mingw32-gcc-posix --prefix="$HVR_WINDOWS_PREFIX" \
       --without-readline --without-zlib --without-icu --without-openssl --without-gssapi \
       --without-ldap >"$cache/libpq-configure.log" &&
     make -C src/interfaces/libpq -j "$jobs" >"$cache/libpq-build.log" &&
     make -C src/interfaces/libpq install >/dev/null && make -C src/include install >/dev/null)

  # Only what the programs use: Core, Gui, Widgets, PrintSupport and Sql with SQLite and
  # PostgreSQL. The features that need what Debian's source leaves out (wintab's tablets;
  # iaccessible2 is not used by Qt 6's Windows accessibility) are off, and so is what nothing
  # here needs.
  log "Qt $qt_version for Windows (the first time only: an hour or more on two cores)"
  rm -rf "$cache/build-qtbase"
  mkdir -p "$cache/build-qtbase"
  (cd "$cache/build-qtbase" &&
     cmake -G Ninja "$cache/src/qtbase" \
       -DCMAKE_TOOLCHAIN_FILE="$root/scripts/windows/mingw.cmake" \
       -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
       -DCMAKE_INSTALL_PREFIX="$cache/qt" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
       -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
       -DFEATURE_tabletevent=OFF -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_vulkan=OFF \
       -DFEATURE_zstd=OFF \
       -DFEATURE_dbus=OFF -DFEATURE_network=OFF -DFEATURE_xml=OFF -DFEATURE_concurrent=OFF \
       -DFEATURE_testlib=OFF -DFEATURE_sql_sqlite=ON -DFEATURE_system_sqlite=ON \
       -DFEATURE_sql_odbc=OFF -DFEATURE_sql_psql=ON -DFEATURE_sql_mysql=OFF \
       -DPostgreSQL_INCLUDE_DIR="$HVR_WINDOWS_PREFIX/include" \
       -DPostgreSQL_LIBRARY="$HVR_WINDOWS_PREFIX/lib/libpq.a" \
       -DFEATURE_sql_ibase=OFF -DFEATURE_sql_oci=OFF -DFEATURE_sql_db2=OFF \
       -DSQLite3_INCLUDE_DIR="$HVR_WINDOWS_PREFIX/include" \
       -DSQLite3_LIBRARY="$HVR_WINDOWS_PREFIX/lib/libsqlite3.a" >"$cache/qtbase-configure.log" &&
     ninja -j "$jobs" >"$cache/qtbase-build.log" && ninja install >/dev/null)
  touch "$cache/qt/.complete"
}

# --- hvr ---------------------------------------------------------------------------------
build_hvr() {
  log "hvr for Windows"
  cmake -S "$root" -B "$out/cmake" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/scripts/windows/mingw.cmake" \
    -DCMAKE_PREFIX_PATH="$cache/qt" -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DHVR_BENCHMARKS=OFF -DBUILD_TESTING=ON >/dev/null
  cmake --build "$out/cmake" -j "$jobs"
}

# The portable folder: the programs, the Qt libraries and plugins they load, the compiler's
# runtime, Qt's Chinese translations, and a qt.conf that makes the folder Qt's home.
deploy() {
  local version dir gcc_lib
  version=$(sed -n 's/^project(hvr VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
  dir=$out/hvr-$version-win64
  gcc_lib=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
  rm -rf "$dir" && mkdir -p "$dir"/{platforms,styles,sqldrivers,translations}
  cp "$out/cmake/hvr.exe" "$out/cmake/hvr-cli.exe" "$out/cmake/hvr.ico" "$dir/"
  for lib in Core Gui Widgets PrintSupport Sql; do cp "$cache/qt/bin/Qt6$lib.dll" "$dir/"; done
  cp "$cache/qt/plugins/platforms/qwindows.dll" "$cache/qt/plugins/platforms/qoffscreen.dll" "$dir/platforms/"
  cp "$cache/qt/plugins/styles/"*.dll "$dir/styles/"
  cp "$cache/qt/plugins/sqldrivers/qsqlite.dll" "$cache/qt/plugins/sqldrivers/qsqlpsql.dll" "$dir/sqldrivers/"
  cp "$HVR_WINDOWS_PREFIX/lib/libpq.dll" "$dir/"
  cp "$gcc_lib/libstdc++-6.dll" "$gcc_lib/libgcc_s_seh-1.dll" /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$dir/"
  cp /usr/share/qt6/translations/qtbase_zh_CN.qm "$dir/translations/"
  printf '[Paths]\nPrefix = .\nPlugins = .\nTranslations = translations\n' >"$dir/qt.conf"
  x86_64-w64-mingw32-strip "$dir"/*.exe "$dir"/*.dll "$dir"/*/*.dll
  (cd "$out" && rm -f "hvr-$version-win64.zip" && zip -qr "hvr-$version-win64.zip" "hvr-$version-win64")

  # The installer takes exactly the files of the folder, and its uninstaller takes them away.
  local files=$out/installer-files.nsh unfiles=$out/installer-unfiles.nsh
  {
    echo 'SetOutPath "$INSTDIR"'
    find "$dir" -maxdepth 1 -type f | sort | sed 's|.*|File "&"|'
    for d in $(cd "$dir" && find . -mindepth 1 -type d | sed 's|^\./||' | sort); do
      echo "SetOutPath \"\$INSTDIR\\${d//\//\\}\""
      find "$dir/$d" -maxdepth 1 -type f | sort | sed 's|.*|File "&"|'
    done
  } >"$files"
  (cd "$dir" && find . -type f | sed 's|^\./||' | sort | sed 's|/|\\|g; s|^|Delete "$INSTDIR\\|; s|$|"|'
   find . -mindepth 1 -type d | sed 's|^\./||' | sort -r | sed 's|/|\\|g; s|^|RMDir "$INSTDIR\\|; s|$|"|') >"$unfiles"
  makensis -V2 -DVERSION="$version" -DSOURCE="$dir" -DFILES="$files" -DUNFILES="$unfiles" \
    -DOUTFILE="$out/hvr-$version-win64-setup.exe" "$root/packaging/windows/installer.nsi"
  log "$out/hvr-$version-win64-setup.exe, $out/hvr-$version-win64.zip"
}

build_qt
build_hvr
deploy
