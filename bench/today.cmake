# The Today item benchmark runs the item in its own process on a big store it builds through the data
# code, and changes the store through the built financestore as another program would.
set(BENCH_LIBRARIES today_item DoveVO)
