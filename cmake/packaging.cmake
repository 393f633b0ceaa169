# Installation and packages.
install(TARGETS intcalc RUNTIME DESTINATION bin)
