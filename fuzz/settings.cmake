# The settings codecs and the INI read path.
foldtally_add_fuzzer(settings ft_settings)
