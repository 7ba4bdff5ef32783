# paired-stats.awk: reads pairs "<tool> <peer seconds> <our seconds> <load>", one a line, and prints per tool (in
# the order first seen) the median of the ratios peer / ours, their range, the number of pairs and the mean load.
# Variables: peers = "<tool>=<peer program>;..." names the peer of each tool; cpus, shown beside the load.
function median(values, n,    sorted, i, j, t) {
    for (i = 1; i <= n; i++) sorted[i] = values[i]
    for (i = 2; i <= n; i++)
        for (j = i; j > 1 && sorted[j - 1] > sorted[j]; j--) { t = sorted[j]; sorted[j] = sorted[j - 1]; sorted[j - 1] = t }
    return n % 2 ? sorted[(n + 1) / 2] : (sorted[n / 2] + sorted[n / 2 + 1]) / 2
}
{
    tool = $1
    if (!(tool in count)) order[++tools] = tool
    ratio = $2 / $3
    ratios[tool, ++count[tool]] = ratio
    if (count[tool] == 1 || ratio < low[tool]) low[tool] = ratio
    if (count[tool] == 1 || ratio > high[tool]) high[tool] = ratio
    load[tool] += $4
}
END {
    entries = split(peers, pairs, ";")
    for (i = 1; i <= entries; i++) {
        eq = index(pairs[i], "=")
        if (eq) peer[substr(pairs[i], 1, eq - 1)] = substr(pairs[i], eq + 1)
    }
    printf "%-6s %-12s %6s %13s %3s %s\n", "tool", "peer", "median", "range", "n", "load"
    for (k = 1; k <= tools; k++) {
        tool = order[k]
        n = count[tool]
        for (i = 1; i <= n; i++) list[i] = ratios[tool, i]
        printf "%-6s %-12s %6.2f %6.2f-%-6.2f %3d %.1f on %d CPUs%s\n", tool, (tool in peer ? peer[tool] : "?"), \
               median(list, n), low[tool], high[tool], n, load[tool] / n, cpus, (median(list, n) >= 0.9 ? "" : "  below the goal")
    }
}
