-- Neovim's own language client against "scenario lsp": opens the line document,
-- waits for the diagnostics, asks for a hover and the outline, applies a quick fix,
-- formats the buffer and writes it. Whatever does not hold is written to SCENARIO_OUT, one line each; "ok"
-- when everything does.
local out = {}
local function check(ok, what)
  if not ok then table.insert(out, what) end
end

local doc = os.getenv("SCENARIO_DOC")
vim.cmd("edit " .. vim.fn.fnameescape(doc))
local buf = vim.api.nvim_get_current_buf()
local id = vim.lsp.start_client({
  name = "scenario",
  cmd = { os.getenv("SCENARIO_BIN"), "lsp" },
  root_dir = vim.fn.fnamemodify(doc, ":h"),
})
check(id ~= nil, "the client did not start")
vim.lsp.buf_attach_client(buf, id)
local client = vim.lsp.get_client_by_id(id)

-- The mistake: line 3's zone start, 24510, is not a multiple of 50 (column 31, from 1).
local got = vim.wait(10000, function() return #vim.diagnostic.get(buf) > 0 end, 20)
check(got, "no diagnostics arrived")
local found = false
for _, d in ipairs(vim.diagnostic.get(buf)) do
  if d.lnum == 2 and d.col == 30 and d.end_col == 35 and d.severity == vim.diagnostic.severity.ERROR
      and d.message:find("24510 is not a multiple of 50", 1, true) then
    found = true
  end
end
check(found, "no error at line 3, column 31: " .. vim.inspect(vim.diagnostic.get(buf)))

local uri = vim.uri_from_bufnr(buf)
local function request(method, params)
  local r = client.request_sync(method, params, 5000, buf)
  check(r ~= nil and r.err == nil, method .. " failed: " .. vim.inspect(r))
  return r and r.result
end

-- On the keyword of line 3, its fields; in Markdown, which Neovim lists among its hover
-- formats.
local hover = request("textDocument/hover", { textDocument = { uri = uri }, position = { line = 2, character = 3 } })
check(hover and hover.contents.kind == "markdown"
  and hover.contents.value:find("1. zone start\n2. zone end\n3. zone flag", 1, true),
  "hover: " .. vim.inspect(hover))

-- Completion as plain text: Neovim 0.7 declares no snippet support.
local items = request("textDocument/completion", { textDocument = { uri = uri }, position = { line = 2, character = 0 } })
check(items and items[1] and items[1].insertTextFormat == 1 and not items[1].insertText:find("$", 1, true),
  "completion: " .. vim.inspect(items and items[1]))

-- The outline: the tunnels under "[montagne]", the first at 29150 m.
local symbols = request("textDocument/documentSymbol", { textDocument = { uri = uri } })
local tunnel = false
for _, s in ipairs(symbols or {}) do
  if s.name == "[montagne]" and s.children[1] and s.children[1].name == "tunnel at 29150 m" then
    tunnel = true
  end
end
check(tunnel, "outline: " .. vim.inspect(symbols))

-- The misspelt keyword of line 11: a quick fix is listed, preferred, and applied.
local actions = request("textDocument/codeAction", {
  textDocument = { uri = uri },
  range = { start = { line = 10, character = 2 }, ["end"] = { line = 10, character = 2 } },
  context = { diagnostics = vim.lsp.diagnostic.get_line_diagnostics(buf, 10) },
})
local fix = nil
for _, a in ipairs(actions or {}) do
  if a.kind == "quickfix" and a.isPreferred and a.title:find("curvas4", 1, true) then fix = a end
end
check(fix ~= nil, "no quick fix for line 11: " .. vim.inspect(actions))
if fix then
  vim.lsp.util.apply_workspace_edit(fix.edit, client.offset_encoding or "utf-16")
  local line = vim.api.nvim_buf_get_lines(buf, 10, 11, false)[1]
  check(line == "curvas4,  900,  1100", "line 11 after the quick fix: " .. vim.inspect(line))
end

vim.lsp.buf.formatting_sync(nil, 5000)
vim.cmd("write")
vim.lsp.stop_client(id)
vim.wait(2000, function() return client.is_stopped() end, 20)

if #out == 0 then out = { "ok" } end
vim.fn.writefile(out, os.getenv("SCENARIO_OUT"))
vim.cmd("qa!")
