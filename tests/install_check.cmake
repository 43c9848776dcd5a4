# Installs the build into PREFIX and checks that the program, its desktop entry and its icon land
# where a desktop looks for them. Run by ctest with -DBUILD= -DPREFIX= -DAPP_ID=.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
    message(FATAL_ERROR "cmake --install failed")
endif()
set(entry ${PREFIX}/share/applications/${APP_ID}.desktop)
foreach(file ${PREFIX}/bin/quillmere ${entry} ${PREFIX}/share/icons/hicolor/scalable/apps/${APP_ID}.svg)
    if(NOT EXISTS ${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
# The entry starts the installed program and shows the installed icon.
file(STRINGS ${entry} lines)
foreach(line Exec=quillmere Icon=${APP_ID})
    if(NOT line IN_LIST lines)
        message(FATAL_ERROR "${entry} lacks ${line}")
    endif()
endforeach()
find_program(validate desktop-file-validate)
if(validate)
    execute_process(COMMAND ${validate} ${entry} RESULT_VARIABLE failed OUTPUT_VARIABLE out
                    ERROR_VARIABLE out)
    if(failed OR out MATCHES "error")
        message(FATAL_ERROR "desktop-file-validate: ${out}")
    endif()
endif()
file(REMOVE_RECURSE ${PREFIX})
