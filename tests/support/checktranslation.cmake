# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a translation is out of step with the sources: lupdate, run on a copy, finds a text
# with no translation yet (new or changed in the sources) or one the sources no longer hold.
# GENERATED is a source the build makes: the country table, whose country names are translated.
#   cmake -DLUPDATE=... -DSOURCES=src-folder -DGENERATED=file.cpp -DTS=file.ts -DCOPY=scratch.ts
#         -P checktranslation.cmake
file(COPY_FILE "${TS}" "${COPY}")
execute_process(COMMAND "${LUPDATE}" -silent -locations none "${SOURCES}" "${GENERATED}"
    -ts "${COPY}"
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed on ${COPY}")
endif()
# Each stale message by the first line of its source text.
file(STRINGS "${COPY}" lines)
set(stale "")
foreach(line IN LISTS lines)
    if(line MATCHES "<source>")
        set(source "${line}")
    elseif(line MATCHES "<translation type=\"(unfinished|vanished|obsolete)\"")
        string(STRIP "${source}" source)
        list(APPEND stale "${CMAKE_MATCH_1}: ${source}")
    endif()
endforeach()
if(stale)
    list(JOIN stale "\n" listed)
    message(FATAL_ERROR "${TS} is not in step with the sources (the update_translations target "
        "brings it in step, then translate what is unfinished):\n${listed}")
endif()
