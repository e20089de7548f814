# `stage` builds everything that belongs in the program folder.
get_property(gm_staged GLOBAL PROPERTY GM_STAGED_TARGETS)
add_custom_target(stage ALL DEPENDS ${gm_staged})
