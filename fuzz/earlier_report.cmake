# The reader of an earlier JSON report (--compare) and the comparison with it.
foldtally_add_fuzzer(earlier_report ft_report)
