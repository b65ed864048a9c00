# Renders the manual pages MANUAL_DIR/pages.txt names, in its order, into one text file
# OUTPUT with lines ended by CR LF (for the Windows package).
#
# cmake -DMANUAL_DIR=... -DOUTPUT=... -DGROFF=groff -P manual_text.cmake
file(STRINGS ${MANUAL_DIR}/pages.txt pages)
set(text "")
foreach(page IN LISTS pages)
    # Plain text: no bold, underline or other overstriking; no hyphenation; each page one
    # page long, as man shows it.
    execute_process(COMMAND ${GROFF} -man -Tutf8 -P-cbou -rHY=0 -rcR=1 ${MANUAL_DIR}/${page}
                    OUTPUT_VARIABLE rendered ERROR_VARIABLE complaints RESULT_VARIABLE status)
    if(NOT status EQUAL 0 OR complaints)
        message(FATAL_ERROR "groff on ${page}: ${status} ${complaints}")
    endif()
    string(APPEND text "${rendered}\n\n")
endforeach()
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${OUTPUT} "${text}")
