-- A table cell escapes a pipe inside code as \| (GitHub's table syntax); the backslash is not
-- part of the code.
function Code (code)
    code.text = code.text:gsub("\\|", "|")
    return code
end
