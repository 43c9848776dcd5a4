# Included by `cmake --install` (src/app/CMakeLists.txt), when the prefix the program goes to is
# known: it may be given only then (`cmake --install build --prefix ~/.local`).

# Writes the desktop entry TEMPLATE to OUTPUT with Icon naming APP_ID and Exec naming PROGRAM
# under the install prefix, so that the menu starts it also when that folder is not on PATH.
# DESTDIR only stages the files for a package and is no part of the path the program runs from.
function(quillmere_desktop_entry template output program app_id)
    if(NOT IS_ABSOLUTE "${program}")
        set(program "${CMAKE_INSTALL_PREFIX}/${program}")
    endif()
    # One quoted argument: inside the quotes ", `, $ and \ take a backslash, and a % is doubled
    # (a lone one starts a field code). The file's own string escapes then double every
    # backslash again and write line breaks as \n and \r.
    set(exec "${program}")
    string(REPLACE "\\" "\\\\" exec "${exec}")
    string(REPLACE "\"" "\\\"" exec "${exec}")
    string(REPLACE "`" "\\`" exec "${exec}")
    string(REPLACE "$" "\\$" exec "${exec}")
    string(REPLACE "%" "%%" exec "${exec}")
    set(exec "\"${exec}\"")
    string(REPLACE "\\" "\\\\" exec "${exec}")
    string(REPLACE "\n" "\\n" exec "${exec}")
    string(REPLACE "\r" "\\r" exec "${exec}")
    set(QUILLMERE_EXEC "${exec}")
    set(QUILLMERE_APP_ID "${app_id}")
    configure_file("${template}" "${output}" @ONLY)
endfunction()
