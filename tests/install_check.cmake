# Installs the build with the prefix given only to `cmake --install`, as the README does, and
# checks that the program, its desktop entry and its icon land where a desktop looks for them and
# that the entry starts that program. Run by ctest with -DBUILD= -DDIR= -DAPP_ID=.
cmake_minimum_required(VERSION 3.25)

find_program(validate desktop-file-validate)
if(NOT validate)
    message(FATAL_ERROR "desktop-file-validate is missing (package desktop-file-utils)")
endif()

# Installs under `prefix`, staged below DESTDIR `stage` when that is not empty, and expects the
# entry's Exec line to be `exec`.
function(install_and_check prefix stage exec)
    file(REMOVE_RECURSE "${DIR}")
    execute_process(COMMAND ${CMAKE_COMMAND} -E env "DESTDIR=${stage}"
                            ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${prefix}"
                    RESULT_VARIABLE failed OUTPUT_QUIET)
    if(failed)
        message(FATAL_ERROR "cmake --install --prefix ${prefix} failed")
    endif()
    set(root "${stage}${prefix}")
    set(entry "${root}/share/applications/${APP_ID}.desktop")
    foreach(file "${root}/bin/quillmere" "${entry}"
                 "${root}/share/icons/hicolor/scalable/apps/${APP_ID}.svg")
        if(NOT EXISTS "${file}")
            message(FATAL_ERROR "not installed: ${file}")
        endif()
    endforeach()
    file(STRINGS "${entry}" lines)
    foreach(line "${exec}" "Icon=${APP_ID}")
        if(NOT line IN_LIST lines)
            message(FATAL_ERROR "${entry} lacks ${line}")
        endif()
    endforeach()
    execute_process(COMMAND ${validate} "${entry}" RESULT_VARIABLE failed OUTPUT_VARIABLE out
                    ERROR_VARIABLE out)
    if(failed OR out MATCHES "error")
        message(FATAL_ERROR "desktop-file-validate: ${out}")
    endif()
endfunction()

# The prefix holds a blank, a "$" and a "%": Exec quotes the path, escapes the "$" with a
# backslash that the file's string escapes double, and doubles the "%".
install_and_check("${DIR}/my games $5 100%" ""
                  "Exec=\"${DIR}/my games \\\\$5 100%%/bin/quillmere\"")
# A staged install names the program where it will run from, not where it was staged.
install_and_check("/opt/quillmere" "${DIR}/stage" "Exec=\"/opt/quillmere/bin/quillmere\"")
file(REMOVE_RECURSE "${DIR}")
