-- Run by check_neovim.sh in Neovim set up as docs/editors.md says, with the line
-- document open: whatever does not hold goes to SCENARIO_OUT, one line each; "ok" when
-- everything does.
local out = {}
local function check(ok, what)
  if not ok then table.insert(out, what) end
end

local buf = vim.api.nvim_get_current_buf()
check(vim.bo.filetype == "scenario", "file type: " .. vim.bo.filetype)
check(vim.bo.fileencoding == "cp1252", "read as: " .. vim.bo.fileencoding)

-- The mistake: line 3's zone start, 24510, is not a multiple of 50 (column 31, from 1).
check(vim.wait(20000, function() return #vim.diagnostic.get(buf) > 0 end, 50), "no diagnostics arrived")
local found = false
for _, d in ipairs(vim.diagnostic.get(buf)) do
  if d.lnum == 2 and d.col == 30 and d.severity == vim.diagnostic.severity.ERROR
      and d.message:find("24510 is not a multiple of 50", 1, true) then
    found = true
  end
end
check(found, "no error at line 3, column 31: " .. vim.inspect(vim.diagnostic.get(buf)))

-- On the keyword of line 3: its fields.
local answers = vim.lsp.buf_request_sync(buf, "textDocument/hover",
  { textDocument = { uri = vim.uri_from_bufnr(buf) }, position = { line = 2, character = 3 } }, 10000)
local hover = ""
for _, a in pairs(answers or {}) do
  if a.result and a.result.contents then hover = hover .. vim.inspect(a.result.contents) end
end
check(hover:find("zone start", 1, true), "hover: " .. hover)

-- Formatting through the set-up's own key, <leader>f; then the document is saved.
vim.api.nvim_feedkeys((vim.g.mapleader or "\\") .. "f", "x", false)
check(vim.wait(10000, function() return vim.bo.modified end, 50), "formatting changed nothing")
vim.cmd("write")

if #out == 0 then out = { "ok" } end
vim.fn.writefile(out, os.getenv("SCENARIO_OUT"))
vim.cmd("qa!")
