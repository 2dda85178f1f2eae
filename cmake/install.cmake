# What `cmake --install` puts on a Linux system: the two programs, the desktop
# entry and its icons, the AppStream metainfo, the manual pages, the shell
# completions and the licence with its notices. Packages install with
# --strip (CPack strips too), so the programs carry no symbols.
#
# The icons, the compressed manual pages and the completions are made at build
# time: the icons from assets/icon.png with ImageMagick, the completions by the
# programs themselves (--completion SHELL), so they always match the options.

include(GNUInstallDirs)
# The documentation folder is named after the package, not the project.
set(QUORVIK_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/quorvik)

set(QUORVIK_APP_ID org.quorvik.Quorvik)
set(QUORVIK_ICON_SIZES 16 24 32 48 64 128 256)
set(linux_files ${PROJECT_SOURCE_DIR}/packaging/linux)
set(made ${PROJECT_BINARY_DIR}/install-files)
file(MAKE_DIRECTORY ${made})
set(made_files)

set(programs quorvik-cli)
if(TARGET quorvik)
  list(APPEND programs quorvik)
endif()
install(TARGETS ${programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Manual pages with the version put in, compressed without a name or time so
# the same page gives the same bytes.
find_program(QUORVIK_GZIP gzip REQUIRED)
foreach(program IN LISTS programs)
  set(page ${made}/${program}.1)
  configure_file(${PROJECT_SOURCE_DIR}/docs/man/${program}.1 ${page} @ONLY)
  add_custom_command(OUTPUT ${made}/${program}.1.gz
    COMMAND ${CMAKE_COMMAND} -D OUTPUT=${made}/${program}.1.gz
            -P ${PROJECT_SOURCE_DIR}/cmake/write-output.cmake -- ${QUORVIK_GZIP} -9 -n -c ${page}
    DEPENDS ${page} ${PROJECT_SOURCE_DIR}/cmake/write-output.cmake VERBATIM)
  list(APPEND made_files ${made}/${program}.1.gz)
  install(FILES ${made}/${program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# Shell completions, printed by each program. Neither needs a display for it;
# a sanitizer build must not fail the step over leaks at exit.
set(completion_env ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0)
foreach(program IN LISTS programs)
  foreach(shell bash zsh fish)
    if(shell STREQUAL "bash")
      set(file ${program}.bash)
      set(destination ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
      set(name ${program})
    elseif(shell STREQUAL "zsh")
      set(file _${program})
      set(destination ${CMAKE_INSTALL_DATADIR}/zsh/site-functions)
      set(name _${program})
    else()
      set(file ${program}.fish)
      set(destination ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)
      set(name ${program}.fish)
    endif()
    add_custom_command(OUTPUT ${made}/${file}
      COMMAND ${CMAKE_COMMAND} -D OUTPUT=${made}/${file}
              -P ${PROJECT_SOURCE_DIR}/cmake/write-output.cmake
              -- ${completion_env} $<TARGET_FILE:${program}> --completion ${shell}
      DEPENDS ${program} ${PROJECT_SOURCE_DIR}/cmake/write-output.cmake VERBATIM)
    list(APPEND made_files ${made}/${file})
    install(FILES ${made}/${file} DESTINATION ${destination} RENAME ${name})
  endforeach()
endforeach()

if(TARGET quorvik)
  install(FILES ${linux_files}/${QUORVIK_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${linux_files}/${QUORVIK_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  # The icon at every size a desktop asks for. ImageMagick would stamp each
  # PNG with the time it was made: without those chunks a build is repeatable.
  find_program(QUORVIK_INSTALL_MAGICK NAMES convert-im6.q16 convert-im6 magick convert)
  # Another program may go by the name convert: only ImageMagick's own will do.
  if(QUORVIK_INSTALL_MAGICK)
    execute_process(COMMAND ${QUORVIK_INSTALL_MAGICK} -version
                    OUTPUT_VARIABLE magick_version ERROR_QUIET RESULT_VARIABLE magick_result)
    if(NOT magick_result EQUAL 0 OR NOT magick_version MATCHES "ImageMagick")
      unset(QUORVIK_INSTALL_MAGICK CACHE)
      set(QUORVIK_INSTALL_MAGICK "")
    endif()
  endif()
  if(QUORVIK_INSTALL_MAGICK)
    foreach(size IN LISTS QUORVIK_ICON_SIZES)
      set(icon ${made}/icons/${size}x${size}/quorvik.png)
      add_custom_command(OUTPUT ${icon}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${made}/icons/${size}x${size}
        COMMAND ${QUORVIK_INSTALL_MAGICK} ${PROJECT_SOURCE_DIR}/assets/icon.png -strip
                -resize ${size}x${size} -define png:exclude-chunks=date,time PNG32:${icon}
        DEPENDS ${PROJECT_SOURCE_DIR}/assets/icon.png VERBATIM)
      list(APPEND made_files ${icon})
      install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
  else()
    # Building and testing need no ImageMagick; an install without icons
    # would show a blank in the application menu, so it stops instead.
    install(CODE "message(FATAL_ERROR \"Installing Quorvik makes its icons with ImageMagick: install it (Debian: imagemagick) and build again.\")")
  endif()
endif()

add_custom_target(quorvik_install_files ALL DEPENDS ${made_files})

install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/NOTICES.md
              ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${linux_files}/copyright
        DESTINATION ${QUORVIK_DOCDIR})

# The Debian package's own changelog, in Debian's format, which dpkg and apt
# read: one entry for this version, dated as CHANGELOG.md dates it, pointing
# there. Only the package installs it (CPack takes the "debian" component).
file(STRINGS ${PROJECT_SOURCE_DIR}/CHANGELOG.md release_line
     REGEX "^## \\[${PROJECT_VERSION}\\] - [0-9]+-[0-9]+-[0-9]+$")
string(REGEX REPLACE ".* - " "" release_date "${release_line}")
if(release_date STREQUAL "")
  string(TIMESTAMP release_date "%Y-%m-%d" UTC)
endif()
execute_process(COMMAND date -u -R -d "${release_date} 00:00:00"
                OUTPUT_VARIABLE release_stamp OUTPUT_STRIP_TRAILING_WHITESPACE)
file(WRITE ${made}/changelog.Debian
"quorvik (${PROJECT_VERSION}) unstable; urgency=medium

  * Quorvik ${PROJECT_VERSION}: see /usr/share/doc/quorvik/CHANGELOG.md.

 -- Quorvik Team <team@quorvik.example.org>  ${release_stamp}
")
add_custom_command(OUTPUT ${made}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -D OUTPUT=${made}/changelog.gz
          -P ${PROJECT_SOURCE_DIR}/cmake/write-output.cmake
          -- ${QUORVIK_GZIP} -9 -n -c ${made}/changelog.Debian
  DEPENDS ${made}/changelog.Debian ${PROJECT_SOURCE_DIR}/CHANGELOG.md VERBATIM)
add_custom_target(quorvik_debian_changelog ALL DEPENDS ${made}/changelog.gz)
install(FILES ${made}/changelog.gz DESTINATION ${QUORVIK_DOCDIR}
        COMPONENT debian EXCLUDE_FROM_ALL)
