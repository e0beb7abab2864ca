-- pandoc filter for the printed manual.

-- A table cell escapes a pipe inside code as \| (GitHub's table syntax); the backslash is not
-- part of the code.
function Code (code)
    code.text = code.text:gsub("\\|", "|")
    return code
end

-- A number and its unit stay on one line ("88.2 kHz", "5 ms", "75 %"): the space between them
-- becomes a no-break space.
local units = { Hz = true, kHz = true, dB = true, ms = true, s = true, ["%"] = true, samples = true, MiB = true }

function Inlines (inlines)
    for i = 1, #inlines - 2 do
        local number, space, unit = inlines[i], inlines[i + 1], inlines[i + 2]
        if number.t == "Str" and number.text:match("%d$") and space.t == "Space" and unit.t == "Str"
            and units[unit.text:gsub("[%p]+$", "")] then
            inlines[i + 1] = pandoc.Str("\u{a0}")
        end
    end
    return inlines
end
